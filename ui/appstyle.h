#pragma once

#include <QProxyStyle>

// The application's style: the platform style, except that a combo box opens its list
// below itself instead of over the current item, which the window's flat look relies on.
class AppStyle : public QProxyStyle
{
    Q_OBJECT

public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption *option = nullptr,
                  const QWidget *widget = nullptr,
                  QStyleHintReturn *returnData = nullptr) const override;
};
