// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "app/ui/frm_get_who.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QShowEvent>
#include <QValidator>

#include "host/ui/messages.h"

namespace vistrel::app {
namespace {

// Turns the letters a to z (or A to Z) as they are typed; every text passes.
class LetterCaseValidator : public QValidator {
 public:
  LetterCaseValidator(bool upper, QObject* parent) : QValidator(parent), upper_(upper) {}

  State validate(QString& input, int&) const override {
    for (QChar& c : input) {
      const char16_t u = c.unicode();
      if (upper_ && u >= u'a' && u <= u'z') c = QChar(u - 32);
      if (!upper_ && u >= u'A' && u <= u'Z') c = QChar(u + 32);
    }
    return Acceptable;
  }

 private:
  bool upper_;
};

// Shows each character of a password as "*".
class StarPasswordStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == SH_LineEdit_PasswordCharacter) return '*';
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};

QLabel* addLabel(const QString& text, QLineEdit* buddy, int top, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(buddy);
  label->setGeometry(16, top, 250, 18);
  return label;
}

}  // namespace

TfrmGetWho::TfrmGetWho(host::Engine& engine, host::Session& session, std::string prefill, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      session_(engine, session),
      prefill_(std::move(prefill)) {
  setObjectName(QStringLiteral("frmGetWho"));
  setWindowTitle(QStringLiteral("Login to Tallis Professional"));
  setFixedSize(304, 200);

  auto* panel = new QFrame(this);
  panel->setObjectName(QStringLiteral("Panel1"));
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Raised);
  panel->setGeometry(8, 8, 288, 142);

  edWho_ = new QLineEdit(panel);
  edWho_->setObjectName(QStringLiteral("edWho"));
  edWho_->setMaxLength(static_cast<int>(kUserIdLength));
  edWho_->setValidator(new LetterCaseValidator(true, edWho_));
  edWho_->setGeometry(16, 38, 64, 24);

  edPassword_ = new QLineEdit(panel);
  edPassword_->setObjectName(QStringLiteral("edPassword"));
  edPassword_->setValidator(new LetterCaseValidator(false, edPassword_));
  auto* stars = new StarPasswordStyle;
  stars->setParent(edPassword_);
  edPassword_->setStyle(stars);
  edPassword_->setEchoMode(QLineEdit::Password);
  edPassword_->setGeometry(16, 98, 180, 24);

  addLabel(QStringLiteral("&Who are you?"), edWho_, 16, panel)->setObjectName(QStringLiteral("Label1"));
  addLabel(QStringLiteral("Type in your &password."), edPassword_, 76, panel)->setObjectName(QStringLiteral("Label2"));

  btOK_ = new QPushButton(QStringLiteral("OK"), this);
  btOK_->setObjectName(QStringLiteral("btOK"));
  btOK_->setDefault(true);
  btOK_->setGeometry(64, 162, 80, 27);
  connect(btOK_, &QPushButton::clicked, this, &TfrmGetWho::btOKClick);

  btCancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  btCancel_->setObjectName(QStringLiteral("btCancel"));
  btCancel_->setAutoDefault(false);
  btCancel_->setGeometry(160, 162, 80, 27);
  connect(btCancel_, &QPushButton::clicked, this, &TfrmGetWho::btCancelClick);

  setTabOrder(edWho_, edPassword_);
  setTabOrder(edPassword_, btOK_);
  setTabOrder(btOK_, btCancel_);
}

void TfrmGetWho::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TfrmGetWho::FormShow() {
  session_.start(prefill_);
  setWindowTitle(QStringLiteral("Login to Tallis Professional"));
  if (!session_.who().empty()) {
    setInputEnabled(true);
    edWho_->setText(QString::fromStdString(session_.who()));
    edPassword_->setFocus();
  } else {
    edWho_->setFocus();
  }
}

void TfrmGetWho::setInputEnabled(bool on) {
  btOK_->setEnabled(on);
  edWho_->setEnabled(on);
  edPassword_->setEnabled(on);
}

void TfrmGetWho::btOKClick() {
  setInputEnabled(false);
  LoginRejection rejection;
  const bool closes = session_.ok(edWho_->text().toStdString(), edPassword_->text().toStdString(), &rejection);
  if (!rejection.message.empty()) host::ShowError(rejection.message);
  if (closes) {
    closeWindow();
    return;
  }
  setInputEnabled(true);
  if (rejection.clear == LoginBox::kUser) edWho_->clear();
  if (rejection.clear == LoginBox::kPassword) edPassword_->clear();
  if (rejection.focus == LoginBox::kUser) edWho_->setFocus();
  if (rejection.focus == LoginBox::kPassword) edPassword_->setFocus();
}

void TfrmGetWho::btCancelClick() {
  session_.cancel();
  closeWindow();
}

void TfrmGetWho::reject() { btCancelClick(); }

void TfrmGetWho::closeWindow() { done(session_.who().empty() ? Rejected : Accepted); }

void TfrmGetWho::closeEvent(QCloseEvent* event) {
  if (session_.mayClose()) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace vistrel::app
