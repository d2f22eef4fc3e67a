#include "platform/message_box.h"

#include <ostream>

#include "platform/codepage.h"

namespace vx::platform {

const char* AnswerName(Answer answer) {
  switch (answer) {
    case Answer::Ok: return "OK";
    case Answer::Yes: return "Yes";
    case Answer::No: return "No";
  }
  return "OK";
}

namespace {

// The message texts separate lines with CR LF, a lone CR or LF; a terminal
// wants LF. Each line goes out in UTF-8 with its control characters shown
// as \xNN: a box may quote text from the archives.
std::string TerminalLines(std::string_view text) {
  std::string out;
  std::string_view rest = text;
  for (;;) {
    const size_t end = rest.find_first_of("\r\n");
    out += Cp1252ToTerminal(rest.substr(0, end));
    if (end == std::string_view::npos) break;
    out += '\n';
    rest.remove_prefix(end + (rest.compare(end, 2, "\r\n") == 0 ? 2 : 1));
  }
  while (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

const char* IconName(Icon icon) {
  switch (icon) {
    case Icon::Critical: return "error";
    case Icon::Warning: return "warning";
    case Icon::Information: return "information";
    case Icon::None: break;
  }
  return "message";
}

}  // namespace

Answer BatchMessageBoxes::Show(const MessageBox& box) {
  // An OK box can only be acknowledged; a Yes/No box takes the caller's
  // unattended answer, never a guess of ours.
  Answer answer = box.buttons == Buttons::Ok ? Answer::Ok
                  : box.unattended == Answer::Ok ? Answer::No
                                                 : box.unattended;
  out_ << "[" << IconName(box.icon) << "] " << Cp1252ToTerminal(box.title) << "\n"
       << TerminalLines(box.text) << "\n";
  if (box.buttons == Buttons::YesNo) {
    out_ << "(no one to answer: took \"" << AnswerName(answer) << "\")\n";
  }
  out_.flush();
  return answer;
}

Answer ScriptedMessageBoxes::Show(const MessageBox& box) {
  shown.push_back(box);
  if (answers_.empty()) {
    if (box.buttons == Buttons::Ok) return Answer::Ok;
    return box.unattended == Answer::Ok ? Answer::No : box.unattended;
  }
  Answer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

}  // namespace vx::platform
