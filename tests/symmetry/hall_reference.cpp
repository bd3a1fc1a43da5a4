#include "hall_reference.h"

#include <cmath>
#include <sstream>

#include "symmetry/operator_text.h"

namespace kestovar::test {

namespace {

int mod12(int v) {
  return ((v % 12) + 12) % 12;
}

IntMatrix3 mul(const IntMatrix3& a, const IntMatrix3& b) {
  IntMatrix3 m{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k) m[i][j] += a[i][k] * b[k][j];
  return m;
}

Op12 compose(const Op12& a, const Op12& b) {
  Op12 r;
  r.R = mul(a.R, b.R);
  for (int i = 0; i < 3; ++i)
    r.t[i] = mod12(a.R[i][0] * b.t[0] + a.R[i][1] * b.t[1] + a.R[i][2] * b.t[2] + a.t[i]);
  return r;
}

IntMatrix3 mat(std::initializer_list<int> v) {
  IntMatrix3 m{};
  auto it = v.begin();
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) m[i][j] = *it++;
  return m;
}

bool rotation(int n, char axis, IntMatrix3& R) {
  static const IntMatrix3 I = mat({1, 0, 0, 0, 1, 0, 0, 0, 1});
  switch (axis) {
    case 'z':
      if (n == 1)
        R = I;
      else if (n == 2)
        R = mat({-1, 0, 0, 0, -1, 0, 0, 0, 1});
      else if (n == 3)
        R = mat({0, -1, 0, 1, -1, 0, 0, 0, 1});
      else if (n == 4)
        R = mat({0, -1, 0, 1, 0, 0, 0, 0, 1});
      else if (n == 6)
        R = mat({1, -1, 0, 1, 0, 0, 0, 0, 1});
      else
        return false;
      return true;
    case 'x':
      if (n == 2)
        R = mat({1, 0, 0, 0, -1, 0, 0, 0, -1});
      else if (n == 4)
        R = mat({1, 0, 0, 0, 0, -1, 0, 1, 0});
      else
        return false;
      return true;
    case 'y':
      if (n == 2)
        R = mat({-1, 0, 0, 0, 1, 0, 0, 0, -1});
      else if (n == 4)
        R = mat({0, 0, 1, 0, 1, 0, -1, 0, 0});
      else
        return false;
      return true;
    case '\'':
      if (n != 2) return false;
      R = mat({0, -1, 0, -1, 0, 0, 0, 0, -1});
      return true;
    case '"':
      if (n != 2) return false;
      R = mat({0, 1, 0, 1, 0, 0, 0, 0, -1});
      return true;
    case '*':
      if (n != 3) return false;
      R = mat({0, 0, 1, 1, 0, 0, 0, 1, 0});
      return true;
  }
  return false;
}

}  // namespace

std::set<Op12> hall_group(const std::string& hall) {
  std::istringstream in(hall);
  std::string lattice;
  in >> lattice;
  std::vector<Op12> gens;
  const IntMatrix3 I = mat({1, 0, 0, 0, 1, 0, 0, 0, 1});
  const IntMatrix3 INV = mat({-1, 0, 0, 0, -1, 0, 0, 0, -1});
  if (lattice[0] == '-') {
    gens.push_back({INV, {0, 0, 0}});
    lattice.erase(0, 1);
  }
  switch (lattice[0]) {
    case 'P':
      break;
    case 'A':
      gens.push_back({I, {0, 6, 6}});
      break;
    case 'B':
      gens.push_back({I, {6, 0, 6}});
      break;
    case 'C':
      gens.push_back({I, {6, 6, 0}});
      break;
    case 'I':
      gens.push_back({I, {6, 6, 6}});
      break;
    case 'R':
      gens.push_back({I, {8, 4, 4}});
      break;
    case 'F':
      gens.push_back({I, {0, 6, 6}});
      gens.push_back({I, {6, 0, 6}});
      break;
    default:
      return {};
  }
  std::string token;
  std::array<int, 3> shift{};
  int index = 0, previous = 0;
  while (in >> token) {
    if (token[0] == '(') {
      // Origin shift in twelfths: "(0 0 1)".
      std::string rest = token.substr(1);
      std::string b, c;
      in >> b >> c;
      shift = {std::stoi(rest), std::stoi(b), std::stoi(c.substr(0, c.size() - 1))};
      break;
    }
    ++index;
    size_t k = 0;
    bool improper = false;
    if (token[k] == '-') improper = true, ++k;
    int n = token[k++] - '0';
    int screw = 0;
    if (k < token.size() && std::isdigit(static_cast<unsigned char>(token[k])))
      screw = token[k++] - '0';
    char axis = 0;
    if (k < token.size() && std::string("xyz'\"*").find(token[k]) != std::string::npos)
      axis = token[k++];
    if (axis == 0) {
      if (index == 1)
        axis = 'z';
      else if (index == 2 && n == 2)
        axis = (previous == 2 || previous == 4) ? 'x' : '\'';
      else if (index == 3 && n == 3)
        axis = '*';
      else
        axis = 'z';
    }
    Op12 g;
    if (!rotation(n, axis, g.R)) return {};
    if (improper) g.R = mul(INV, g.R);
    if (screw) {
      int part = 12 * screw / n;
      if (axis == 'x')
        g.t[0] += part;
      else if (axis == 'y')
        g.t[1] += part;
      else
        g.t[2] += part;
    }
    for (; k < token.size(); ++k) {
      switch (token[k]) {
        case 'a':
          g.t[0] += 6;
          break;
        case 'b':
          g.t[1] += 6;
          break;
        case 'c':
          g.t[2] += 6;
          break;
        case 'n':
          g.t[0] += 6, g.t[1] += 6, g.t[2] += 6;
          break;
        case 'u':
          g.t[0] += 3;
          break;
        case 'v':
          g.t[1] += 3;
          break;
        case 'w':
          g.t[2] += 3;
          break;
        case 'd':
          g.t[0] += 3, g.t[1] += 3, g.t[2] += 3;
          break;
        default:
          return {};
      }
    }
    for (int& v : g.t) v = mod12(v);
    gens.push_back(g);
    previous = n;
  }
  std::set<Op12> group = {Op12{I, {0, 0, 0}}};
  std::vector<Op12> list(group.begin(), group.end());
  for (const Op12& g : gens)
    if (group.insert(g).second) list.push_back(g);
  for (size_t i = 0; i < list.size(); ++i) {
    for (size_t j = 0; j <= i; ++j) {
      for (const Op12& p : {compose(list[i], list[j]), compose(list[j], list[i])}) {
        if (group.insert(p).second) list.push_back(p);
        if (list.size() > 400) return {};
      }
    }
  }
  // Origin shift: x' = x - v, so (R, t) becomes (R, t + (I - R) v).
  std::set<Op12> shifted;
  for (Op12 o : group) {
    for (int i = 0; i < 3; ++i)
      o.t[i] = mod12(o.t[i] + shift[i] -
                     (o.R[i][0] * shift[0] + o.R[i][1] * shift[1] + o.R[i][2] * shift[2]));
    shifted.insert(o);
  }
  return shifted;
}

Op12 to_op12(const IntMatrix3& R, const Vec3& t) {
  Op12 o;
  o.R = R;
  for (int i = 0; i < 3; ++i) o.t[i] = mod12(static_cast<int>(std::lround(t[i] * 12.0f)));
  return o;
}

std::string describe(const std::set<Op12>& ops) {
  std::string out;
  for (const Op12& o : ops) {
    Vec3 t{o.t[0] / 12.0f, o.t[1] / 12.0f, o.t[2] / 12.0f};
    out += operator_to_text(o.R, t) + "; ";
  }
  return out;
}

}  // namespace kestovar::test
