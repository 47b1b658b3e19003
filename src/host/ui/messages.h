// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <vector>

// The one seam through which every message box of the program goes. Only the
// windows (the ui/ folders) reach it: Qt-free code returns its failures and
// lets the window show them. The program installs a sink that shows Qt
// message boxes with the system sound, tests a recorder that answers from a
// queue and keeps what was said; without one, messages go to standard error.
namespace vistrel::host {

// The program's title: the main window's caption and the title of every
// message box.
inline constexpr std::string_view kProgramTitle = "Vistrel Pro";

enum class MessageIcon { kNone, kError, kWarning, kInformation, kQuestion };
enum class MessageButtons { kOk, kYesNo, kOkCancel, kYesNoCancel };
enum class MessageAnswer { kOk, kCancel, kYes, kNo };

struct Message {
  MessageIcon icon = MessageIcon::kNone;
  MessageButtons buttons = MessageButtons::kOk;
  std::string text;
  std::string caption;  // empty: kProgramTitle
};

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual MessageAnswer show(const Message& message) = 0;
};

// Installs `sink` for the whole program (nullptr restores the default, which
// writes to standard error and answers OK or Yes). The caller keeps ownership.
void setMessageSink(MessageSink* sink);
MessageSink& messageSink();

MessageAnswer showMessage(const Message& message);

// The error box: exclamation sound, error icon, the text, one OK button.
void ShowError(std::string_view text);
// The same box with the stop sound and the warning icon.
void ShowWarning(std::string_view text);
// An information box with OK.
void ShowInformation(std::string_view text);
// An information box with Yes and No; true on Yes.
bool AskYesNo(std::string_view text, MessageIcon icon = MessageIcon::kInformation);

// A sink for tests: records every message and answers from a queue (OK, or
// Yes for Yes/No boxes, when the queue is empty).
class RecordingMessageSink : public MessageSink {
 public:
  MessageAnswer show(const Message& message) override;
  void setNextAnswer(MessageAnswer answer) { answers_.push_back(answer); }
  const std::vector<Message>& messages() const { return messages_; }
  std::string lastText() const { return messages_.empty() ? std::string() : messages_.back().text; }
  void clear() { messages_.clear(); answers_.clear(); }

 private:
  std::vector<Message> messages_;
  std::deque<MessageAnswer> answers_;
};

// Installs a recorder for the lifetime of the object (tests).
class ScopedMessageRecorder : public RecordingMessageSink {
 public:
  ScopedMessageRecorder();
  ~ScopedMessageRecorder() override;
  ScopedMessageRecorder(const ScopedMessageRecorder&) = delete;
  ScopedMessageRecorder& operator=(const ScopedMessageRecorder&) = delete;

 private:
  MessageSink* previous_;
};

}  // namespace vistrel::host
