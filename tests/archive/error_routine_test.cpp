#include <gtest/gtest.h>

#include "scratch_installation.h"

using vx::platform::Answer;
using vx::platform::Icon;
using vx::platform::ProgramEnd;

namespace {

class ErrorRoutine : public ::testing::Test {
 protected:
  // Runs a step that fails with a printer error the first `failures` times;
  // returns how many times it ran and whether it got to its end.
  std::pair<int, bool> PrinterStep(int failures) {
    int attempts = 0;
    bool finished = false;
    world.archives.Guarded([&] {
      if (++attempts <= failures) throw vx::platform::MakeRuntimeError(482);
      finished = true;
    });
    return {attempts, finished};
  }
  vx::testing::ScratchInstallation world;
};

}  // namespace

TEST_F(ErrorRoutine, PrinterErrorIsRetriedWhileTheOperatorSaysYes) {
  world.boxes.Queue(Answer::Yes);
  world.boxes.Queue(Answer::Yes);
  EXPECT_EQ(PrinterStep(2), std::make_pair(3, true));
  const auto& box = world.boxes.shown.at(0);
  EXPECT_EQ(box.title + "|" + box.text, "Velmora|ERR.STAMPANTE - SI VUOLE RITENTARE ?");
  EXPECT_EQ(box.icon, Icon::Critical);
  EXPECT_EQ(box.unattended, Answer::No);
}

TEST_F(ErrorRoutine, PrinterErrorSkipsTheStepWhenTheOperatorKeepsTheProgram) {
  world.boxes.Queue(Answer::No);
  world.boxes.Queue(Answer::No);
  EXPECT_EQ(PrinterStep(5), std::make_pair(1, false));
  const auto& box = world.boxes.shown.at(1);
  EXPECT_EQ(box.text, "CHIUDERE IL PROGRAMMA ? (se si risp.NO il progr.perde la riga e prosegue)");
  EXPECT_EQ(box.icon, Icon::Warning);
  EXPECT_EQ(box.unattended, Answer::Yes);
}

TEST_F(ErrorRoutine, PrinterErrorWithNobodyToAnswerClosesEveryFileAndEnds) {
  world.Write("C:\\PVXPAGHE\\ARCHIVI\\X.TXT", "x");
  world.files.OpenInput(3, "C:\\PVXPAGHE\\ARCHIVI\\X.TXT");
  EXPECT_THROW(PrinterStep(1), ProgramEnd);
  EXPECT_FALSE(world.files.IsOpen(3));
  // A printer that is a file says which, after the question.
  world.boxes.shown.clear();
  EXPECT_THROW(world.archives.GESTIERRORE(vx::platform::MakeRuntimeError(482, "/stampe").About({}, "scrittura")),
               ProgramEnd);
  EXPECT_EQ(world.boxes.shown.at(0).text, "ERR.STAMPANTE - SI VUOLE RITENTARE ?\r\nFile: /stampe\r\nOperazione: scrittura");
}

TEST_F(ErrorRoutine, OtherErrorsAreShownWithTheTraceOldestFirstAndTheFileThenEndTheProgram) {
  for (int i = 1; i <= 12; ++i) world.archives.TRACCIA("OP" + std::to_string(i));
  try {
    world.archives.GESTIERRORE(
        vx::platform::MakeRuntimeError(53, "C:\\PVXPAGHE\\ARCHIVI\\X.DAT").About({}, "apertura dell'archivio 9"));
    FAIL() << "the program went on";
  } catch (const ProgramEnd& end) {
    EXPECT_NE(end.status, 0);
  }
  ASSERT_EQ(world.boxes.shown.size(), 2u);
  const auto& report = world.boxes.shown[0];
  EXPECT_EQ(report.title, "Velmora VXOREL");
  EXPECT_EQ(report.icon, Icon::Critical);
  // The file and the work come after the routine's own text.
  EXPECT_EQ(report.text,
            "Errore 53 File not found\r\nOP3\r\nOP4\r\nOP5\r\nOP6\r\nOP7\r\nOP8\r\nOP9\r\nOP10\r\nOP11\r\nOP12\r\n"
            "File: C:\\PVXPAGHE\\ARCHIVI\\X.DAT\r\nOperazione: apertura dell'archivio 9\r\n");
  const auto& restart = world.boxes.shown[1];
  EXPECT_EQ(restart.title + "|" + restart.text,
            "Velmora|CHIUDERE TUTTE LE APPLICAZIONI DELLA TASK\r\nLANCIARE RIPRISTINO TASK");
  EXPECT_EQ(restart.icon, Icon::Information);
}

TEST_F(ErrorRoutine, ProgramInformationNamesTheExecutableAndTheProject) {
  world.archives.state.NomeProgramma = " vxorel ";
  world.archives.INFOPROGRAMMA();
  const auto& box = world.boxes.shown.at(0);
  EXPECT_EQ(box.title, "Informazioni Progetto velmora");
  EXPECT_EQ(box.text, "Programma velmora\r\rNome EXE : VXOREL.EXE\rNome VBP : VXOREL.VBP\r");
}
