// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <QApplication>

#include <string>
#include <vector>

#include "app/login.h"
#include "app/startup.h"
#include "app/ui/frm_get_who.h"
#include "app/ui/mirror_progress.h"
#include "geo/ui/frm_all50.h"
#include "geo/ui/frm_main.h"
#include "geo/ui/frm_progress.h"
#include "host/engine.h"
#include "host/environment.h"
#include "host/globals.h"
#include "host/text.h"
#include "host/ui/message_box.h"

namespace app = vistrel::app;
namespace geo = vistrel::geo;
namespace host = vistrel::host;

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  host::installQtMessageSink();
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);

  host::Engine& engine = host::Engine::global();
  const app::StartupContext context{host::programFolder(), host::WindowsUserName(), args};
  if (!app::prepareEngine(engine, context)) return 0;
  // A Tallis data directory is copied before the login reads its user table.
  if (!app::mirrorHostTablesWithProgress(engine)) return 0;

  {
    app::TfrmGetWho login(engine, app::loginPrefill(args, host::LastTallisUser()));
    login.exec();
    host::CurrentWho = std::string(host::utf8Left(login.who(), app::kUserIdLength));
  }
  if (host::CurrentWho.empty()) return 0;

  QApplication::setApplicationDisplayName(QStringLiteral("Vistrel Pro"));

  // The windows of the whole run, in this order; the main window first.
  geo::TFrmMain mainWindow(engine);
  // The filter list comes here, once it is part of the program.
  geo::FrmProgress();
  geo::FrmAll50();

  mainWindow.show();
  return application.exec();
}
