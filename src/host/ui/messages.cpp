// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/ui/messages.h"

#include <cstdio>

namespace vistrel::host {
namespace {

class StderrSink : public MessageSink {
 public:
  MessageAnswer show(const Message& message) override {
    std::fprintf(stderr, "%s\n", message.text.c_str());
    return message.buttons == MessageButtons::kYesNo || message.buttons == MessageButtons::kYesNoCancel
               ? MessageAnswer::kYes
               : MessageAnswer::kOk;
  }
};

StderrSink g_stderrSink;
MessageSink* g_sink = nullptr;

}  // namespace

void setMessageSink(MessageSink* sink) { g_sink = sink; }

MessageSink& messageSink() { return g_sink ? *g_sink : g_stderrSink; }

MessageAnswer showMessage(const Message& message) { return messageSink().show(message); }

void ShowError(std::string_view text) {
  showMessage({MessageIcon::kError, MessageButtons::kOk, std::string(text), ""});
}

void ShowWarning(std::string_view text) {
  showMessage({MessageIcon::kWarning, MessageButtons::kOk, std::string(text), ""});
}

void ShowInformation(std::string_view text) {
  showMessage({MessageIcon::kInformation, MessageButtons::kOk, std::string(text), ""});
}

bool AskYesNo(std::string_view text, MessageIcon icon) {
  return showMessage({icon, MessageButtons::kYesNo, std::string(text), ""}) == MessageAnswer::kYes;
}

MessageAnswer RecordingMessageSink::show(const Message& message) {
  messages_.push_back(message);
  if (!answers_.empty()) {
    const MessageAnswer a = answers_.front();
    answers_.pop_front();
    return a;
  }
  return message.buttons == MessageButtons::kYesNo || message.buttons == MessageButtons::kYesNoCancel
             ? MessageAnswer::kYes
             : MessageAnswer::kOk;
}

ScopedMessageRecorder::ScopedMessageRecorder() : previous_(g_sink) { setMessageSink(this); }

ScopedMessageRecorder::~ScopedMessageRecorder() { setMessageSink(previous_); }

}  // namespace vistrel::host
