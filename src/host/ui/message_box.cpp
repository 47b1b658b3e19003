// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/ui/message_box.h"

#include <QApplication>
#include <QAbstractButton>
#include <QIcon>
#include <QMessageBox>

namespace vistrel::host {
namespace {

QMessageBox::Icon qtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kError: return QMessageBox::Critical;
    case MessageIcon::kWarning: return QMessageBox::Warning;
    case MessageIcon::kInformation: return QMessageBox::Information;
    case MessageIcon::kQuestion: return QMessageBox::Question;
    case MessageIcon::kNone: break;
  }
  return QMessageBox::NoIcon;
}

struct ButtonSet {
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton defaultButton;
  QMessageBox::StandardButton escapeButton;
};

ButtonSet qtButtons(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::kYesNo:
      return {QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, QMessageBox::No};
    case MessageButtons::kOkCancel:
      return {QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok, QMessageBox::Cancel};
    case MessageButtons::kYesNoCancel:
      return {QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes,
              QMessageBox::Cancel};
    case MessageButtons::kOk: break;
  }
  return {QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok};
}

MessageAnswer answerOf(int button) {
  switch (button) {
    case QMessageBox::Yes: return MessageAnswer::kYes;
    case QMessageBox::No: return MessageAnswer::kNo;
    case QMessageBox::Cancel: return MessageAnswer::kCancel;
    default: return MessageAnswer::kOk;
  }
}

// The texts come from a platform where a carriage return alone ends a line.
QString lineBreaks(const std::string& text) {
  QString s = QString::fromStdString(text);
  s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return s;
}

}  // namespace

MessageAnswer QtMessageSink::show(const Message& message) {
  if (message.icon == MessageIcon::kError || message.icon == MessageIcon::kWarning) {
    QApplication::beep();
  }
  const std::string& title = message.caption.empty() ? std::string(kProgramTitle) : message.caption;
  const QString caption = QString::fromStdString(title);
  const ButtonSet set = qtButtons(message.buttons);
  QMessageBox box(qtIcon(message.icon), caption, lineBreaks(message.text), set.buttons,
                  QApplication::activeWindow());
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(set.defaultButton);
  box.setEscapeButton(set.escapeButton);
  // Some styles put an icon on each standard button; the program's boxes have none.
  for (QAbstractButton* b : box.buttons()) b->setIcon(QIcon());
  return answerOf(box.exec());
}

void installQtMessageSink() {
  static QtMessageSink sink;
  setMessageSink(&sink);
}

}  // namespace vistrel::host
