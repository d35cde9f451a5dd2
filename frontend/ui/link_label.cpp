#include "ui/link_label.h"

#include <QMouseEvent>

#include "ui/design_font.h"

namespace ixo {

LinkLabel::LinkLabel(const QString& caption, const QString& target, LinkOpener opener,
                     QWidget* parent)
    : QLabel(caption, parent), target_(target), opener_(std::move(opener)) {
  setCursor(Qt::PointingHandCursor);
  setToolTip(target_);
  SetHighlighted(true);
  adjustSize();
}

void LinkLabel::SetHighlighted(bool highlighted) {
  highlighted_ = highlighted;
  QFont font = DesignFont();
  font.setUnderline(highlighted);
  setFont(font);
  QPalette palette = this->palette();
  palette.setColor(QPalette::WindowText, highlighted ? QColor(Qt::blue) : QColor(0, 0, 128));
  setPalette(palette);
}

void LinkLabel::enterEvent(QEnterEvent* event) {
  SetHighlighted(true);
  QLabel::enterEvent(event);
}

void LinkLabel::leaveEvent(QEvent* event) {
  SetHighlighted(false);
  QLabel::leaveEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
      opener_) {
    opener_(target_.toStdString());
  }
  QLabel::mouseReleaseEvent(event);
}

}  // namespace ixo
