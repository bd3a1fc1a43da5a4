// The space-group explorer run as a program.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

namespace {

#ifdef KESTOVAR_SG_BINARY

struct ProgramRun {
  int status = -1;
  std::string output;
};

ProgramRun run(const std::string& args) {
  ProgramRun r;
  std::string command = std::string("'") + KESTOVAR_SG_BINARY + "' " + args + " 2>&1 </dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return r;
  std::array<char, 4096> buffer;
  size_t n;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) r.output.append(buffer.data(), n);
  int status = pclose(pipe);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

TEST(KestovarSg, PrintsTheGroupAndItsGeneralPosition) {
  ProgramRun r = run("'P 21/c'");
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find(" => The SPACE GROUP is: P 21/c"), std::string::npos);
  EXPECT_NE(r.output.find("    834    608      0"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find(" -> The multiplicity of the general position is:   4"),
            std::string::npos);
  size_t k = r.output.find(" => General position:\n");
  ASSERT_NE(k, std::string::npos) << r.output;
  EXPECT_EQ(r.output.substr(k + 22), "x,y,z\n-x,y+1/2,-z+1/2\n-x,-y,-z\nx,-y+1/2,z+1/2\n");
}

TEST(KestovarSg, CentringCopiesAreListed) {
  ProgramRun r = run("'C 2/c'");
  EXPECT_EQ(r.status, 0);
  size_t k = r.output.find(" => General position:\n");
  ASSERT_NE(k, std::string::npos);
  std::string list = r.output.substr(k + 22);
  EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), 8);
  EXPECT_NE(list.find("-x+1/2,-y+1/2,-z\n"), std::string::npos) << list;
}

TEST(KestovarSg, BadSymbolFails) {
  ProgramRun r = run("'P m -3 m'");
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.output.find("Errors of some sort were detected !!"), std::string::npos);
  EXPECT_NE(r.output.find("Error in S.G. symbol"), std::string::npos) << r.output;
  EXPECT_EQ(r.output.find("General position"), std::string::npos);
}

TEST(KestovarSg, Help) {
  ProgramRun r = run("--help");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.output.find("Usage: kestovar-sg"), std::string::npos);
  EXPECT_NE(run("").status, 0);
}

#else
TEST(KestovarSg, NotBuilt) {
  GTEST_SKIP() << "kestovar-sg is not built";
}
#endif

}  // namespace
