// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/ui/frm_about.h"

#include <sys/stat.h>

#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <ctime>

#include "host/date_time.h"
#include "host/version.h"

namespace vistrel::geo {
namespace {

constexpr char kNoDate[] = "01/01/1980";

}  // namespace

std::string programFileDate(const std::filesystem::path& file, const host::Locale& locale) {
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0) return kNoDate;
  std::tm local{};
  if (localtime_r(&st.st_mtime, &local) == nullptr) return kNoDate;
  const auto day = host::encodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  if (!day) return kNoDate;
  return host::formatDate(*day, locale);
}

TfrmAbout::TfrmAbout(const std::filesystem::path& programFile, const host::Locale& locale, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("frmAbout"));
  setWindowTitle(QStringLiteral("About"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 20, 24, 16);
  layout->setSpacing(10);

  auto* name = new QLabel(QStringLiteral("Vistrel Professional"), this);
  name->setObjectName(QStringLiteral("ProductName"));
  QFont big = name->font();
  big.setPointSize(big.pointSize() + 8);
  big.setBold(true);
  name->setFont(big);
  name->setStyleSheet(QStringLiteral("color: navy"));
  name->setAlignment(Qt::AlignCenter);

  const QString date = QString::fromStdString(programFileDate(programFile, locale));
  const QString release = QString::fromUtf8(host::kVersionShort.data(), static_cast<qsizetype>(host::kVersionShort.size()));
  auto* version = new QLabel(QStringLiteral("Version %1 -- %2").arg(release, date), this);
  version->setObjectName(QStringLiteral("Version"));
  version->setAlignment(Qt::AlignCenter);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("OKButton"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  layout->addWidget(name);
  layout->addWidget(version);
  layout->addWidget(ok, 0, Qt::AlignCenter);
  setFixedSize(sizeHint().expandedTo(QSize(300, 0)));
}

}  // namespace vistrel::geo
