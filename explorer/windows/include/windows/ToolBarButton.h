#pragma once

#include <QPushButton>

namespace tess::explorer {

// A push button that can be told to draw no focus rectangle while it has the keyboard focus; it
// still takes the focus and its keys like any button.
class ToolBarButton : public QPushButton {
    Q_OBJECT
  public:
    using QPushButton::QPushButton;

    void setHideFocusRect(bool hide);
    bool hidesFocusRect() const { return hideFocusRect_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    bool hideFocusRect_ = false;
};

}  // namespace tess::explorer
