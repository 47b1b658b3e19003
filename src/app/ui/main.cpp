// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QLabel>

#include "host/ui/message_box.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  vistrel::host::installQtMessageSink();
  QLabel label("Vistrel Pro");
  label.show();
  return app.exec();
}
