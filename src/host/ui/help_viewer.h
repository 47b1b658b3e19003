// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QTextBrowser>
#include <QWidget>

#include "host/help.h"

class QKeyEvent;
class QPushButton;

namespace vistrel::host {

// A QTextBrowser that reads the help pages of the program's data files. Page
// addresses have the scheme "vistrel-help" ("vistrel-help:/vistrel/ranges.html"),
// so the relative links of a page resolve to pages of the same book; links
// to anything else are not followed.
class HelpBrowser : public QTextBrowser {
  Q_OBJECT
 public:
  explicit HelpBrowser(QWidget* parent = nullptr);
  static QUrl pageUrl(std::string_view page);
  QVariant loadResource(int type, const QUrl& name) override;
};

// The help window: a non-modal window with the page, and Contents, Back and
// Close buttons. It belongs to the window it was opened over (a child of a
// modal dialog stays usable while that dialog runs) and deletes itself when
// closed.
class HelpViewer : public QWidget {
  Q_OBJECT
 public:
  HelpViewer(HelpBook book, QWidget* parent);
  void showTopic(int context);
  HelpBook book() const { return book_; }
  HelpBrowser* browser() const { return browser_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;  // Escape closes

 private:
  HelpBook book_;
  HelpBrowser* browser_;
  QPushButton* back_;
};

// Where a window of `size` opens over a window at `over`: centred on it,
// then shrunk and moved as far as needed to lie inside `screen`.
QRect centredOnScreen(QSize size, const QRect& over, const QRect& screen);

// Shows the page of `context` of `book` in the help window of `parent`,
// opening one when `parent` has none yet, and brings it to the front. Never
// blocks. Returns the window (owned by `parent`, or by itself when `parent`
// is null).
HelpViewer* showHelp(int context, QWidget* parent, HelpBook book = HelpBook::kVistrel);

}  // namespace vistrel::host
