#pragma once

#include <QProxyStyle>

namespace tess::explorer {

// The style of a header view whose captions, where they do not fit their section, end as the
// view's text elide mode says ("Background Co..."). The header view hands its elide mode to the
// style, but the common style's header drawing copies the option into its older form and drops
// the mode, so a caption too wide is cut at both ends instead.
class ElidedHeaderStyle : public QProxyStyle {
    Q_OBJECT
  public:
    using QProxyStyle::QProxyStyle;

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
};

}  // namespace tess::explorer
