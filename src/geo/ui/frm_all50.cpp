// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/ui/frm_all50.h"

#include <QLabel>

#include "geo/address.h"
#include "geo/map_pictures.h"
#include "geo/ui/raster_image.h"

namespace vistrel::geo {

TFrmAll50::TFrmAll50(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("FrmAll50"));
  for (const StateInfo& state : kStateTable) {
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("Image") + QString::fromLatin1(state.code.data(), state.code.size()));
    label->setPixmap(QPixmap::fromImage(toQImage(areaCodePicture(state.code))));
  }
}

QLabel* TFrmAll50::image(std::string_view code) const {
  const QString name = QStringLiteral("Image") + QString::fromUtf8(code.data(), static_cast<int>(code.size()));
  for (QLabel* label : findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
    if (label->objectName().compare(name, Qt::CaseInsensitive) == 0) return label;
  }
  return nullptr;
}

QPixmap TFrmAll50::picture(std::string_view code) const {
  const QLabel* label = image(code);
  return label != nullptr ? label->pixmap() : QPixmap();
}

TFrmAll50* FrmAll50() {
  static TFrmAll50* window = nullptr;
  if (window == nullptr) window = new TFrmAll50();
  return window;
}

}  // namespace vistrel::geo
