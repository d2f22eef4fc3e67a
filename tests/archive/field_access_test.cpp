#include <gtest/gtest.h>

#include "archive/descriptors.h"
#include "platform/errors.h"
#include "scratch_installation.h"

namespace fields = vx::archive::fields;
using vx::platform::ProgramEnd;
using vx::testing::ScratchInstallation;

namespace {

class FieldAccess : public ::testing::Test {
 protected:
  ScratchInstallation world;
  vx::archive::PayrollArchives& archives = world.archives;
};

std::string Placed(size_t length, size_t at, const std::string& value) {
  std::string record(length, ' ');
  record.replace(at - 1, value.size(), value);
  return record;
}

}  // namespace

TEST_F(FieldAccess, ReadsFromThePrefixBufferWhenNoRecordIsGiven) {
  archives.state.RecordRepository["DIPX$"] = Placed(1700, 1671, "-000123456");
  EXPECT_EQ(archives.RepoR(fields::kEmployeeNetPay, 0), "-00001234.56");
  EXPECT_EQ(archives.RepoN(fields::kEmployeeNetPay, 0), -1234.56);
  archives.state.RecordRepository["DITX$"] = Placed(40, 3, "012ACME SPA");
  EXPECT_EQ(archives.RepoN(fields::kCompanyCode, 0), 12);
  EXPECT_EQ(archives.RepoR(fields::kCompanyName, 0), "ACME SPA" + std::string(22, ' '));
}

TEST_F(FieldAccess, AGivenRecordTakesThePlaceOfTheBuffer) {
  archives.state.RecordRepository["DIPX$"] = Placed(20, 3, "XXXXXXXXXX");
  EXPECT_EQ(archives.RepoR(fields::kEmployeeCode, 0, Placed(20, 3, "0010010007")), "0010010007");
}

TEST_F(FieldAccess, EmptyBufferGivesEmptyTextAndZero) {
  EXPECT_EQ(archives.RepoR(fields::kEmployeeSurname, 0), "");
  EXPECT_EQ(archives.RepoN(fields::kEmployeeNetPay, 0), 0);
  EXPECT_TRUE(world.boxes.shown.empty());
}

TEST_F(FieldAccess, RepeatedGroupOccurrenceReadsFurtherOn) {
  archives.state.RecordRepository["CONX$"] = Placed(800, 700, "THIRD");
  EXPECT_EQ(archives.RepoR("CONX$,00120,05,A,0,G001", 3), "THIRD");
}

TEST_F(FieldAccess, SecondEmployeeDescriptorWithoutIdLetterIsToldAndNotShifted) {
  archives.state.RecordRepository["DI2X$"] = "ABCDEFGH";
  EXPECT_EQ(archives.RepoR("DI2X$,00002,02,A,0,K100", 2), "BC");
  ASSERT_EQ(world.boxes.shown.size(), 1u);
  EXPECT_EQ(world.boxes.shown[0].text, "ERRORE REPOSITORY - LETTERA SCONOSCIUTA");
  EXPECT_EQ(world.boxes.shown[0].title, "VXOREL");
}

TEST_F(FieldAccess, UnknownPrefixEndsTheProgram) {
  EXPECT_THROW(archives.RepoR("ZZZX$,00001,02,A,0,Z001", 0), ProgramEnd);
  ASSERT_EQ(world.boxes.shown.size(), 1u);
  EXPECT_EQ(world.boxes.shown[0].text, "ERRORE REPOSITORY - STRCOSTANTE");
}

TEST_F(FieldAccess, FailureIsReportedWithRepoRInTheTrace) {
  archives.TRACCIA("LEGGIREC (2-7)");
  EXPECT_THROW(archives.RepoR("DI2X$,30000,02,A,0,I100", 5, "abc"), ProgramEnd);
  ASSERT_EQ(world.boxes.shown.size(), 2u);
  const std::string& report = world.boxes.shown[0].text;
  EXPECT_EQ(report.rfind("Errore 6 Overflow\r\n", 0), 0u);
  EXPECT_NE(report.find("LEGGIREC (2-7)\r\nRepoR\r\n"), std::string::npos);
}

TEST_F(FieldAccess, NormalReadsLeaveNoTrace) {
  archives.RepoR(fields::kEmployeeCode, 0);
  EXPECT_EQ(archives.state.IndiceTraccia, 0);
}
