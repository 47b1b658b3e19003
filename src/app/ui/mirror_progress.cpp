// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "app/ui/mirror_progress.h"

#include <QApplication>

#include <chrono>

#include "app/mirror_startup.h"
#include "geo/ui/frm_progress.h"

namespace vistrel::app {

bool mirrorHostTablesWithProgress(host::Engine& engine) {
  const auto started = std::chrono::steady_clock::now();
  geo::TFrmProgress* progress = nullptr;
  const bool ok = mirrorHostTablesAtStartup(engine, [&](std::int64_t done, std::int64_t total) {
    if (progress == nullptr) {
      if (std::chrono::steady_clock::now() - started < std::chrono::milliseconds(500)) return;
      progress = geo::FrmProgress();
      progress->setWindowTitle(QStringLiteral("Copying the Tallis tables"));
      progress->start(static_cast<int>(total));
    }
    progress->setPosition(static_cast<int>(done));
    QApplication::processEvents();
  });
  if (progress != nullptr) {
    progress->finish();
    progress->setWindowTitle(QStringLiteral("Counting Records"));
  }
  return ok;
}

}  // namespace vistrel::app
