#pragma once
// Modal message boxes, behind one interface so that the run code does not
// care whether a person, a script or nobody answers.

#include <deque>
#include <iosfwd>
#include <string>
#include <vector>

namespace vx::platform {

enum class Buttons { Ok, YesNo };
enum class Icon { None, Critical, Warning, Information };
enum class Answer { Ok, Yes, No };

// One box. Title and text are cp1252 bytes. `unattended` is the answer the
// caller wants taken when nobody can answer: "No" to a retry question, "Yes"
// to a close-the-program question, Ok for an OK box.
struct MessageBox {
  std::string title;
  std::string text;
  Buttons buttons = Buttons::Ok;
  Icon icon = Icon::None;
  Answer unattended = Answer::Ok;
};

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // Shows the box and returns the answer given (or taken).
  virtual Answer Show(const MessageBox& box) = 0;
  // True when a person can answer the boxes.
  virtual bool Interactive() const = 0;
};

// No one is there to answer: writes the box to a stream (normally stderr) in
// UTF-8, takes the box's `unattended` answer at once and says which it took.
class BatchMessageBoxes : public MessageBoxes {
 public:
  explicit BatchMessageBoxes(std::ostream& out) : out_(out) {}
  Answer Show(const MessageBox& box) override;
  bool Interactive() const override { return false; }

 private:
  std::ostream& out_;
};

// For tests: answers from a queue, in order, falling back to the box's
// `unattended` answer when the queue is empty; records every box shown.
class ScriptedMessageBoxes : public MessageBoxes {
 public:
  void Queue(Answer answer) { answers_.push_back(answer); }
  Answer Show(const MessageBox& box) override;
  bool Interactive() const override { return true; }

  std::vector<MessageBox> shown;

 private:
  std::deque<Answer> answers_;
};

// The name of an answer as the batch output writes it ("OK", "Yes", "No").
const char* AnswerName(Answer answer);

}  // namespace vx::platform
