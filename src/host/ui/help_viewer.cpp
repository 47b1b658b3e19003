// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/ui/help_viewer.h"

#include <algorithm>

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace vistrel::host {
namespace {

constexpr char kScheme[] = "vistrel-help";

QPointer<HelpViewer>& viewerWithoutParent(HelpBook book) {
  static QPointer<HelpViewer> vistrel;
  static QPointer<HelpViewer> taldb;
  return book == HelpBook::kVistrel ? vistrel : taldb;
}

}  // namespace

HelpBrowser::HelpBrowser(QWidget* parent) : QTextBrowser(parent) {
  setOpenLinks(true);
  setOpenExternalLinks(false);
}

QUrl HelpBrowser::pageUrl(std::string_view page) {
  QUrl url;
  url.setScheme(QString::fromLatin1(kScheme));
  url.setPath(QLatin1Char('/') + QString::fromUtf8(page.data(), static_cast<qsizetype>(page.size())));
  return url;
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
  if (name.scheme() != QLatin1String(kScheme)) return QVariant();
  const QByteArray page = name.path().mid(1).toUtf8();
  const auto html = helpPageHtml(std::string_view(page.constData(), static_cast<std::size_t>(page.size())));
  if (!html) return QVariant();
  return QString::fromUtf8(html->data(), static_cast<qsizetype>(html->size()));
}

HelpViewer::HelpViewer(HelpBook book, QWidget* parent)
    : QWidget(parent, Qt::Window), book_(book), browser_(new HelpBrowser(this)) {
  setObjectName(QStringLiteral("HelpViewer"));
  setAttribute(Qt::WA_DeleteOnClose);
  resize(560, 480);

  auto* contents = new QPushButton(tr("&Contents"), this);
  back_ = new QPushButton(tr("&Back"), this);
  auto* close = new QPushButton(tr("&Close"), this);
  back_->setEnabled(false);
  connect(contents, &QPushButton::clicked, this, [this] {
    browser_->setSource(HelpBrowser::pageUrl(helpTopic(book_, -1).page));
  });
  connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(browser_, &QTextBrowser::backwardAvailable, back_, &QPushButton::setEnabled);
  connect(close, &QPushButton::clicked, this, &QWidget::close);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(contents);
  buttons->addWidget(back_);
  buttons->addStretch();
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(browser_);
  layout->addLayout(buttons);
}

void HelpViewer::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

QRect centredOnScreen(QSize size, const QRect& over, const QRect& screen) {
  size = size.boundedTo(screen.size());
  QRect r(QPoint(0, 0), size);
  r.moveCenter(over.center());
  r.moveLeft(std::clamp(r.left(), screen.left(), screen.right() + 1 - r.width()));
  r.moveTop(std::clamp(r.top(), screen.top(), screen.bottom() + 1 - r.height()));
  return r;
}

namespace {

// A new help window opens centred on the window it belongs to, on screen.
void placeNewViewer(HelpViewer* viewer, QWidget* parent) {
  QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect available = screen->availableGeometry();
  const QRect over = parent != nullptr ? parent->window()->frameGeometry() : available;
  // The frame (title bar, borders) is outside the geometry Qt sets.
  const QSize frame = viewer->frameGeometry().size() - viewer->geometry().size();
  const QRect outer = centredOnScreen(viewer->size() + frame, over, available);
  viewer->setGeometry(QRect(outer.topLeft(), outer.size() - frame));
}

}  // namespace

void HelpViewer::showTopic(int context) {
  const HelpTopic topic = helpTopic(book_, context);
  setWindowTitle(QString::fromUtf8(topic.title.data(), static_cast<qsizetype>(topic.title.size())));
  browser_->setSource(HelpBrowser::pageUrl(topic.page));
}

HelpViewer* showHelp(int context, QWidget* parent, HelpBook book) {
  HelpViewer* viewer = nullptr;
  if (parent != nullptr) {
    for (HelpViewer* v : parent->findChildren<HelpViewer*>(QString(), Qt::FindDirectChildrenOnly)) {
      if (v->book() == book) viewer = v;
    }
    if (viewer == nullptr) {
      viewer = new HelpViewer(book, parent);
      placeNewViewer(viewer, parent);
    }
  } else {
    QPointer<HelpViewer>& slot = viewerWithoutParent(book);
    if (slot.isNull()) {
      slot = new HelpViewer(book, nullptr);
      placeNewViewer(slot, nullptr);
    }
    viewer = slot;
  }
  viewer->showTopic(context);
  viewer->show();
  viewer->raise();
  viewer->activateWindow();
  return viewer;
}

}  // namespace vistrel::host
