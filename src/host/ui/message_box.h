// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include "host/ui/messages.h"

namespace vistrel::host {

// The message sink of the windowed program: a modal QMessageBox over the
// active window with the message's icon and buttons, the application's name
// as caption when the message has none, and the system sound for errors and
// warnings. Texts are shown as plain text (a "<<BLANK FIELD>>" stays as it
// is); a carriage return alone breaks the line. Closing a box without a
// button answers as its escape button would: OK, No or Cancel.
class QtMessageSink : public MessageSink {
 public:
  MessageAnswer show(const Message& message) override;
};

// Installs one QtMessageSink for the rest of the run. REQUIRES: a QApplication.
void installQtMessageSink();

}  // namespace vistrel::host
