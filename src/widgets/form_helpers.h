// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QPushButton>
#include <QRect>
#include <QString>

#include <string_view>

namespace vistrel::widgets {

// A UTF-8 text of the logic as a Qt string.
inline QString qtText(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }

// A push button with an object name that does not take Enter when it has the focus.
inline QPushButton* namedButton(const QString& text, const QString& name, QWidget* parent) {
  auto* b = new QPushButton(text, parent);
  b->setObjectName(name);
  b->setAutoDefault(false);
  return b;
}

inline QPushButton* namedButton(const QString& text, const QString& name, QRect geometry, QWidget* parent) {
  QPushButton* b = namedButton(text, name, parent);
  b->setGeometry(geometry);
  return b;
}

}  // namespace vistrel::widgets
