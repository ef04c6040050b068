#pragma once
// The date and time field of the dialogs: Qt's date-time edit, which a click
// leaves with a bare cursor inside a part (day, month, hours...), so that
// digits typed next are refused or land in the following part. Here a click
// selects the part under the pointer, as the desktop's date fields do, and
// the digits typed replace it: a click on the day of "17/12/2026" and "09"
// give the 9th. A drag still selects what it covers.
#include <QDateTimeEdit>

namespace platform {

class DateTimePicker : public QDateTimeEdit {
    Q_OBJECT
public:
    explicit DateTimePicker(QWidget* parent = nullptr);

private:
    // After a click: the part that holds the cursor is selected.
    void selezionaParte();
};

} // namespace platform
