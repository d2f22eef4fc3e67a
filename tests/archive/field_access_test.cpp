#include <gtest/gtest.h>

#include "archive/descriptors.h"
#include "scratch_installation.h"

namespace fields = vx::archive::fields;
using vx::platform::ProgramEnd;

namespace {
class FieldAccess : public ::testing::Test {
 protected:
  vx::testing::ScratchInstallation world;
  vx::archive::PayrollArchives& archives = world.archives;
  vx::archive::RecordBuffers& buffers = world.archives.state.RecordRepository;
};
}  // namespace

TEST_F(FieldAccess, ReadsThePrefixBufferUnlessARecordIsGiven) {
  buffers["DIPX$"] = std::string(1670, ' ') + "0000123456";
  EXPECT_EQ(archives.RepoR(fields::kEmployeeNetPay, 0), "00001234.56");
  EXPECT_EQ(archives.RepoN(fields::kEmployeeNetPay, 0), 1234.56);
  EXPECT_EQ(archives.RepoR(fields::kEmployeeCode, 0, "  0010010007"), "0010010007");
  buffers["CONX$"] = std::string(699, ' ') + "THIRD";
  EXPECT_EQ(archives.RepoR("CONX$,00120,05,A,0,G001", 3), "THIRD");
  EXPECT_EQ(archives.state.IndiceTraccia, 0);  // normal reads leave no trace
}

TEST_F(FieldAccess, EmptyBufferGivesEmptyTextAndZero) {
  EXPECT_EQ(archives.RepoR(fields::kCompanyName, 0), "");
  EXPECT_EQ(archives.RepoN(fields::kCompanyCode, 0), 0);
  EXPECT_TRUE(world.boxes.shown.empty());
}

TEST_F(FieldAccess, DescriptorProblemsAreToldToTheOperator) {
  buffers["DI2X$"] = "ABCDEFGH";
  EXPECT_EQ(archives.RepoR("DI2X$,00002,02,A,0,K100", 2), "BC");
  EXPECT_EQ(world.boxes.shown.at(0).text, "ERRORE REPOSITORY - LETTERA SCONOSCIUTA");
  EXPECT_THROW(archives.RepoR("ZZZX$,00001,02,A,0,Z001", 0), ProgramEnd);
  EXPECT_EQ(world.boxes.shown.at(1).text, "ERRORE REPOSITORY - STRCOSTANTE");
}

TEST_F(FieldAccess, FailureIsReportedWithRepoRInTheTrace) {
  archives.TRACCIA("LEGGIREC (2-7)");
  EXPECT_THROW(archives.RepoR("DI2X$,30000,02,A,0,I100", 5, "abc"), ProgramEnd);
  const std::string& report = world.boxes.shown.at(0).text;
  EXPECT_EQ(report.rfind("Errore 6 Overflow\r\n", 0), 0u);
  EXPECT_TRUE(report.ends_with("LEGGIREC (2-7)\r\nRepoR\r\n"));
}
