#include "tables/element_tables.h"

namespace kestovar {

namespace {

template <typename Table>
int find_key(const Table& table, std::string_view key) {
  for (size_t i = 0; i < table.size(); ++i)
    if (key == std::string_view(table[i].key, 4)) return static_cast<int>(i);
  return -1;
}

}  // namespace

int find_xray(std::string_view key) {
  return find_key(kXrayTable, key);
}
int find_neutron(std::string_view key) {
  return find_key(kNeutronTable, key);
}
int find_magnetic(std::string_view key) {
  return find_key(kMagneticTable, key);
}

int find_object(std::string_view key) {
  for (size_t i = 0; i < kObjectNames.size(); ++i)
    if (key == kObjectNames[i]) return static_cast<int>(i) + 1;
  return 0;
}

}  // namespace kestovar
