// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <QApplication>

#include <string>
#include <vector>

#include "app/field_aliases.h"
#include "app/login.h"
#include "app/startup.h"
#include "app/ui/frm_get_who.h"
#include "dialogs/ui/frm_filter_contact.h"
#include "filter/filter_session.h"
#include "filter/ui/frm_flt_pick.h"
#include "app/ui/mirror_progress.h"
#include "geo/ui/frm_all50.h"
#include "geo/ui/frm_main.h"
#include "geo/ui/frm_progress.h"
#include "host/engine.h"
#include "host/environment.h"
#include "host/ui/messages.h"
#include "host/text.h"
#include "host/ui/message_box.h"
#include "host/ui/system_locale.h"

namespace app = vistrel::app;
namespace geo = vistrel::geo;
namespace host = vistrel::host;

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  host::installQtMessageSink();
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);

  host::Engine& engine = host::Engine::global();
  // Dates and numbers read and print as the desktop's regional settings say.
  engine.setLocale(host::localeFromQt(QLocale::system()));
  const app::StartupContext context{host::programFolder(), host::WindowsUserName(), args};
  const app::StartupReport startup = app::prepareEngine(engine, context);
  if (startup.netDirMissing && host::AskYesNo(app::kNetDirPrompt)) {
    if (const host::Status s = app::startNetDirProgram(context); !s.ok()) host::ShowError(s.message());
  }
  for (const std::string& error : startup.errors) host::ShowError(error);
  if (!startup.ready) return 0;
  // A Tallis data directory is copied before the login reads its user table.
  if (!app::mirrorHostTablesWithProgress(engine)) return 0;

  // Who is logged in, the database worked on and the active filter, for the
  // whole run.
  vistrel::filter::FilterSession session;
  {
    app::TfrmGetWho login(engine, session, app::loginPrefill(args, host::LastTallisUser()));
    login.exec();
    session.CurrentWho = std::string(host::utf8Left(login.who(), app::kUserIdLength));
  }
  if (session.CurrentWho.empty()) return 0;
  // Without the settings table the user, date and numeric fields show their names.
  (void)app::loadFieldAliases(engine);

  // No application display name: Qt would append it to every window's title.
  // The windows of the whole run, in this order; the main window first.
  geo::TFrmMain mainWindow(engine, session);
  vistrel::filter::TfrmFltPick filterList(engine, session, &mainWindow);
  mainWindow.setFilterList(&filterList);
  // The list's Add and Edit open the criteria editor on the select table.
  filterList.setCriteriaEditor(vistrel::dialogs::criteriaEditorFor(engine, session));
  geo::FrmProgress();
  geo::FrmAll50();

  mainWindow.show();
  return application.exec();
}
