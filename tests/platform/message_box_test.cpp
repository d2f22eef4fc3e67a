#include "platform/message_box.h"

#include <gtest/gtest.h>

#include <sstream>

namespace vx::platform {
namespace {

MessageBox RetryQuestion() {
  return {"Velmora", "ERR.STAMPANTE - SI VUOLE RITENTARE ?", Buttons::YesNo, Icon::Critical, Answer::No};
}

TEST(BatchMessageBoxes, WritesUtf8AndTakesTheUnattendedAnswer) {
  std::ostringstream out;
  BatchMessageBoxes boxes(out);
  EXPECT_FALSE(boxes.Interactive());
  EXPECT_EQ(boxes.Show(RetryQuestion()), Answer::No);
  EXPECT_EQ(boxes.Show({"Velmora", "CHIUDERE IL PROGRAMMA ?", Buttons::YesNo, Icon::Warning, Answer::Yes}),
            Answer::Yes);
  // A text from the archives may hold control characters, C1 (the bytes
  // cp1252 leaves undefined) included: shown, not sent.
  EXPECT_EQ(boxes.Show({"Stampa Pagamento in C/C", "Citt\xE0\r\nriga\x1B[2J\x7F\x9D\x80 due\rtre\nquattro\r\n",
                        Buttons::Ok, Icon::None}),
            Answer::Ok);
  EXPECT_EQ(out.str(),
            "[error] Velmora\nERR.STAMPANTE - SI VUOLE RITENTARE ?\n(no one to answer: took \"No\")\n"
            "[warning] Velmora\nCHIUDERE IL PROGRAMMA ?\n(no one to answer: took \"Yes\")\n"
            "[message] Stampa Pagamento in C/C\nCitt\xC3\xA0\nriga\\x1B[2J\\x7F\\x9D\xE2\x82\xAC due\ntre\nquattro\n");
}

TEST(ScriptedMessageBoxes, AnswersInOrderThenFallsBackAndRecordsEveryBox) {
  ScriptedMessageBoxes boxes;
  boxes.Queue(Answer::Yes);
  boxes.Queue(Answer::Yes);
  EXPECT_EQ(boxes.Show(RetryQuestion()), Answer::Yes);
  EXPECT_EQ(boxes.Show(RetryQuestion()), Answer::Yes);
  EXPECT_EQ(boxes.Show(RetryQuestion()), Answer::No);
  ASSERT_EQ(boxes.shown.size(), 3u);
  EXPECT_EQ(boxes.shown[0].text, "ERR.STAMPANTE - SI VUOLE RITENTARE ?");
  EXPECT_EQ(boxes.shown[0].icon, Icon::Critical);
}

}  // namespace
}  // namespace vx::platform
