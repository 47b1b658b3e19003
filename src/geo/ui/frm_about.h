// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include <filesystem>
#include <string>

#include "host/locale.h"

namespace vistrel::geo {

// The last-write date of `file` in the short date format of `locale`;
// "01/01/1980" when the date cannot be read.
std::string programFileDate(const std::filesystem::path& file, const host::Locale& locale);

// The About window: the program's name and its version with the date of the
// program file. Created on demand, shown modally, destroyed after.
class TfrmAbout : public QDialog {
  Q_OBJECT

 public:
  TfrmAbout(const std::filesystem::path& programFile, const host::Locale& locale, QWidget* parent = nullptr);
};

}  // namespace vistrel::geo
