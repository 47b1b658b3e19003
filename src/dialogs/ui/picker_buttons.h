// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

class QBoxLayout;
class QDialog;
class QEvent;
class QObject;
class QPushButton;
class QString;

namespace vistrel::dialogs {

// Adds OK and Cancel under a picker's `layout`, named as given: OK is the
// default button and accepts, Cancel rejects. Returns OK.
QPushButton* addOkCancel(QDialog* dialog, QBoxLayout* layout, const QString& okName, const QString& cancelName);

// For a picker's event filter: a double click on one of its radio buttons
// checks it and closes the picker with OK. True when the event was taken.
bool acceptOnDoubleClick(QDialog* dialog, QObject* watched, QEvent* event);

}  // namespace vistrel::dialogs
