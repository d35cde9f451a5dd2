// A label that opens a link: a hand-shaped pointer, its target as hover hint,
// blue and underlined at first and while the mouse is over it, navy without
// underline once the mouse has left. A click hands the target to an opener,
// which the program points at the desktop's default handler.
#pragma once

#include <QLabel>
#include <functional>
#include <string>

namespace ixo {

// Opens a link target ("mailto:..." or a web address); failures are not reported.
using LinkOpener = std::function<void(const std::string& target)>;

class LinkLabel final : public QLabel {
 public:
  // `caption` is shown, `target` is opened on a click and shown as the hint.
  LinkLabel(const QString& caption, const QString& target, LinkOpener opener,
            QWidget* parent = nullptr);

  const QString& Target() const { return target_; }

  // The two looks: true is blue and underlined, false navy and plain.
  void SetHighlighted(bool highlighted);
  bool Highlighted() const { return highlighted_; }

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QString target_;
  LinkOpener opener_;
  bool highlighted_ = true;
};

}  // namespace ixo
