// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include <string>

#include "app/login.h"
#include "host/engine.h"

class QLineEdit;
class QPushButton;

namespace vistrel::app {

// The login window: a Tallis user id and its password, checked against the
// Tallis user table (LoginSession). It closes only when the login succeeds,
// after too many wrong passwords, or on Cancel; who() then holds the user
// id, empty unless the login succeeded.
class TfrmGetWho : public QDialog {
  Q_OBJECT

 public:
  // `prefill` is the user id offered in the user box (see loginPrefill()).
  // `engine` must outlive the window.
  // The login sets `session`'s CurrentWho; both must outlive the window.
  TfrmGetWho(host::Engine& engine, host::Session& session, std::string prefill, QWidget* parent = nullptr);

  const std::string& who() const { return session_.who(); }
  const LoginSession& session() const { return session_; }

  void btOKClick();
  void btCancelClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  // Escape: as Cancel.
  void reject() override;

 private:
  void FormShow();
  void setInputEnabled(bool on);
  void closeWindow();

  LoginSession session_;
  std::string prefill_;
  QLineEdit* edWho_;
  QLineEdit* edPassword_;
  QPushButton* btOK_;
  QPushButton* btCancel_;
};

}  // namespace vistrel::app
