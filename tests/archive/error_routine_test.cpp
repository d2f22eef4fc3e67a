#include <gtest/gtest.h>

#include "platform/errors.h"
#include "scratch_installation.h"

using vx::archive::ErrorOutcome;
using vx::platform::Answer;
using vx::platform::Icon;
using vx::platform::MakeRuntimeError;
using vx::platform::ProgramEnd;
using vx::testing::ScratchInstallation;

namespace {

class ErrorRoutine : public ::testing::Test {
 protected:
  // Runs a step that fails with a printer error the first `failures` times.
  int RunPrinterStep(int failures, bool& finished) {
    int attempts = 0;
    finished = false;
    world.archives.Guarded([&] {
      ++attempts;
      if (attempts <= failures) throw MakeRuntimeError(482);
      finished = true;
    });
    return attempts;
  }
  ScratchInstallation world;
};

}  // namespace

TEST_F(ErrorRoutine, PrinterErrorIsRetriedWhileTheOperatorSaysYes) {
  world.boxes.Queue(Answer::Yes);
  world.boxes.Queue(Answer::Yes);
  bool finished = false;
  EXPECT_EQ(RunPrinterStep(2, finished), 3);
  EXPECT_TRUE(finished);
  ASSERT_EQ(world.boxes.shown.size(), 2u);
  const auto& box = world.boxes.shown[0];
  EXPECT_EQ(box.title, "Velmora");
  EXPECT_EQ(box.text, "ERR.STAMPANTE - SI VUOLE RITENTARE ?");
  EXPECT_EQ(box.buttons, vx::platform::Buttons::YesNo);
  EXPECT_EQ(box.icon, Icon::Critical);
  EXPECT_EQ(box.unattended, Answer::No);
}

TEST_F(ErrorRoutine, PrinterErrorSkipsTheStepWhenTheOperatorKeepsTheProgram) {
  world.boxes.Queue(Answer::No);
  world.boxes.Queue(Answer::No);
  bool finished = true;
  EXPECT_EQ(RunPrinterStep(5, finished), 1);
  EXPECT_FALSE(finished);
  ASSERT_EQ(world.boxes.shown.size(), 2u);
  EXPECT_EQ(world.boxes.shown[1].text,
            "CHIUDERE IL PROGRAMMA ? (se si risp.NO il progr.perde la riga e prosegue)");
  EXPECT_EQ(world.boxes.shown[1].icon, Icon::Warning);
  EXPECT_EQ(world.boxes.shown[1].unattended, Answer::Yes);
}

TEST_F(ErrorRoutine, PrinterErrorEndsTheProgramWhenNobodyAnswers) {
  world.Write("C:\\PVXPAGHE\\ARCHIVI\\X.TXT", "x");
  world.files.OpenInput(3, "C:\\PVXPAGHE\\ARCHIVI\\X.TXT");
  bool finished = false;
  EXPECT_THROW(RunPrinterStep(1, finished), ProgramEnd);
  EXPECT_EQ(world.boxes.shown.size(), 2u);
  EXPECT_FALSE(world.files.IsOpen(3));
}

TEST_F(ErrorRoutine, OtherErrorsAreShownWithTheTraceOldestFirstAndEndTheProgram) {
  auto& archives = world.archives;
  for (int i = 1; i <= 12; ++i) archives.TRACCIA("OP" + std::to_string(i));
  try {
    archives.GESTIERRORE(MakeRuntimeError(53));
    FAIL() << "the program went on";
  } catch (const ProgramEnd& end) {
    EXPECT_NE(end.status, 0);
  }
  ASSERT_EQ(world.boxes.shown.size(), 2u);
  const auto& report = world.boxes.shown[0];
  EXPECT_EQ(report.title, "Velmora VXOREL");
  EXPECT_EQ(report.icon, Icon::Critical);
  EXPECT_EQ(report.text,
            "Errore 53 File not found\r\n"
            "OP3\r\nOP4\r\nOP5\r\nOP6\r\nOP7\r\nOP8\r\nOP9\r\nOP10\r\nOP11\r\nOP12\r\n");
  const auto& restart = world.boxes.shown[1];
  EXPECT_EQ(restart.title, "Velmora");
  EXPECT_EQ(restart.icon, Icon::Information);
  EXPECT_EQ(restart.text, "CHIUDERE TUTTE LE APPLICAZIONI DELLA TASK\r\nLANCIARE RIPRISTINO TASK");
  EXPECT_EQ(archives.state.IndiceTraccia, 2);
}

TEST_F(ErrorRoutine, ProgramInformationNamesTheExecutableAndTheProject) {
  world.archives.state.NomeProgramma = " vxorel ";
  world.archives.INFOPROGRAMMA();
  ASSERT_EQ(world.boxes.shown.size(), 1u);
  EXPECT_EQ(world.boxes.shown[0].title, "Informazioni Progetto velmora");
  EXPECT_EQ(world.boxes.shown[0].text,
            "Programma velmora\r\rNome EXE : VXOREL.EXE\rNome VBP : VXOREL.VBP\r");
  EXPECT_EQ(world.boxes.shown[0].icon, Icon::Information);
}
