#pragma once
// A combo box that calls back when its list opens (the download and the
// clock-setting windows refill their server lists then).
#include <QComboBox>

#include <functional>

class ComboAperta : public QComboBox {
public:
    using QComboBox::QComboBox;
    std::function<void()> aperta;
    void showPopup() override
    {
        if (aperta)
            aperta();
        QComboBox::showPopup();
    }
};
