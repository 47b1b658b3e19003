// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QSize>
#include <QString>

namespace vistrel::widgets {

// What a word-wrapping label of `box` pixels shows of a text in `font`: the
// text itself when its words fit the lines the box holds; otherwise as many
// lines as fit, broken inside a word too long for a line, the last one
// ending in an ellipsis, with `cut` set so the caller can offer the whole
// text (as a tooltip).
struct FittedText {
  QString shown;
  bool cut = false;
};
FittedText fitText(const QString& text, const QFont& font, QSize box);

}  // namespace vistrel::widgets
