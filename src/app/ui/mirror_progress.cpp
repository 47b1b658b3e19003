// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "app/ui/mirror_progress.h"

#include <QApplication>

#include <chrono>

#include "app/mirror_startup.h"
#include "geo/ui/frm_progress.h"
#include "host/ui/messages.h"

namespace vistrel::app {

bool mirrorHostTablesWithProgress(host::Engine& engine) {
  const auto started = std::chrono::steady_clock::now();
  geo::TFrmProgress* progress = nullptr;
  QString heading;
  // A table is copied in one transaction that cannot be stopped half-way
  // from here, so the window offers no Abort while it runs.
  const auto copying = [&](const std::string& table) {
    heading = QStringLiteral("Copying the Tallis tables\n%1").arg(QString::fromStdString(table));
    if (progress != nullptr) progress->setHeading(heading);
  };
  const auto moved = [&](std::int64_t done, std::int64_t total) {
    if (progress == nullptr) {
      if (std::chrono::steady_clock::now() - started < std::chrono::milliseconds(500)) return;
      progress = geo::FrmProgress();
      progress->setTask(QStringLiteral("Copying the Tallis tables"), heading, false);
      progress->start(static_cast<int>(total));
    }
    progress->setPosition(static_cast<int>(done));
    QApplication::processEvents();
  };
  const MirrorStartup outcome = mirrorHostTablesAtStartup(engine, moved, copying);
  if (progress != nullptr) progress->finish();
  if (!outcome.error.empty()) host::ShowError(outcome.error);
  if (!outcome.warning.empty()) host::ShowWarning(outcome.warning);
  return outcome.haveCopy;
}

}  // namespace vistrel::app
