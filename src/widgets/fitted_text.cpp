// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "widgets/fitted_text.h"

#include <QFontMetrics>
#include <QStringList>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <vector>

namespace vistrel::widgets {
namespace {

struct LineSpan {
  int start = 0;
  int length = 0;
  double width = 0;
};

std::vector<LineSpan> breakLines(const QString& text, const QFont& font, int width, QTextOption::WrapMode mode) {
  QTextLayout layout(text, font);
  QTextOption option;
  option.setWrapMode(mode);
  layout.setTextOption(option);
  std::vector<LineSpan> lines;
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(width);
    lines.push_back({line.textStart(), line.textLength(), line.naturalTextWidth()});
  }
  layout.endLayout();
  return lines;
}

}  // namespace

FittedText fitText(const QString& text, const QFont& font, QSize box) {
  const QFontMetrics metrics(font);
  const int maxLines = std::max(1, box.height() / std::max(1, metrics.lineSpacing()));
  const std::vector<LineSpan> words = breakLines(text, font, box.width(), QTextOption::WordWrap);
  const bool fits = static_cast<int>(words.size()) <= maxLines &&
                    std::all_of(words.begin(), words.end(), [&](const LineSpan& l) { return l.width <= box.width(); });
  if (fits) return {text, false};

  const std::vector<LineSpan> lines =
      breakLines(text, font, box.width(), QTextOption::WrapAtWordBoundaryOrAnywhere);
  QStringList shown;
  for (const LineSpan& l : lines) {
    if (static_cast<int>(shown.size()) == maxLines - 1) {
      // The last line takes the rest of the text, cut to its width.
      shown << metrics.elidedText(text.mid(l.start).trimmed(), Qt::ElideRight, box.width());
      break;
    }
    shown << text.mid(l.start, l.length).trimmed();
  }
  return {shown.join(QLatin1Char('\n')), true};
}

}  // namespace vistrel::widgets
