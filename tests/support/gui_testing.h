// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace vistrel::testing {

// The child of `w` with this object name; the test stops when there is none.
template <typename T>
T* child(QWidget* w, const char* name) {
  auto* c = w->findChild<T*>(QString::fromLatin1(name));
  if (c == nullptr) qFatal("no child %s", name);
  return c;
}

// Runs `act` on the picker once its modal loop runs.
inline void whenModal(std::function<void(QWidget*)> act) {
  QTimer::singleShot(0, [act] {
    QWidget* w = QApplication::activeModalWidget();
    if (w == nullptr) qFatal("no modal picker");
    act(w);
    // A failed check inside `act` leaves the picker open: close it so the test ends.
    if (auto* d = qobject_cast<QDialog*>(w); d != nullptr && d->isVisible()) d->reject();
  });
}

}  // namespace vistrel::testing
