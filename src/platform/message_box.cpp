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

// The message texts separate lines with CR LF or a lone CR; a terminal wants LF.
std::string TerminalLines(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += text[i];
    }
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
  out_ << "[" << IconName(box.icon) << "] " << Cp1252ToUtf8(box.title) << "\n"
       << Cp1252ToUtf8(TerminalLines(box.text)) << "\n";
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
