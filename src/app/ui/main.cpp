// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QIcon>

#include <iostream>
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
#include "host/assets.h"
#include "host/engine.h"
#include "host/environment.h"
#include "host/ui/messages.h"
#include "host/text.h"
#include "host/ui/message_box.h"
#include "host/ui/system_locale.h"
#include "host/version.h"

namespace app = vistrel::app;
namespace geo = vistrel::geo;
namespace host = vistrel::host;

namespace {

constexpr char kUsage[] =
    "Usage: vistrel [USER | /n] [Qt options]\n\n"
    "Starts Vistrel: the login, then the main window with the analyses of the\n"
    "Tallis data directory that the alias TALDB names.\n\n"
    "  USER         fills in the login's user id (upper case, at most 3 characters)\n"
    "  /n, /N       cuts the user name to 6 characters in the private directory\n"
    "               of a portable setup\n"
    "  --help       prints this text\n"
    "  --version    prints the release\n";

// --help and --version answer without a window (and without a display).
bool answeredWithoutWindow(const std::vector<std::string>& args) {
  if (args.size() != 1) return false;
  if (args[0] == "--version") {
    std::cout << "vistrel " << host::kVersion << "\n";
    return true;
  }
  if (args[0] == "--help" || args[0] == "-h") {
    std::cout << kUsage;
    return true;
  }
  return false;
}

std::vector<std::string> arguments(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

}  // namespace

int main(int argc, char** argv) {
  if (answeredWithoutWindow(arguments(argc, argv))) return 0;
  QApplication application(argc, argv);
  // The icon of the installed desktop entry, for the window list.
  QGuiApplication::setDesktopFileName(QStringLiteral("vistrel"));
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("vistrel")));
  host::installQtMessageSink();
  if (const host::Status s = host::checkAssetFolder(); !s.ok()) {
    host::ShowError("Vistrel cannot start: " + s.message());
    return 1;
  }
  // What is left once Qt has taken its own options.
  const std::vector<std::string> args = arguments(argc, argv);

  host::Engine& engine = host::Engine::global();
  // Dates and numbers read and print as the desktop's regional settings say.
  engine.setLocale(host::localeFromQt(QLocale::system()));
  const host::ProgramFolders folders = host::programFolders();
  app::StartupContext context{folders.program, host::WindowsUserName(), args};
  context.folders = folders;
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
