#include "platform/date_picker.h"

#include <QLineEdit>
#include <QMouseEvent>

#include <functional>
#include <utility>

namespace platform {

namespace {

// The field's text line, which says when a click has ended, after it has
// placed its cursor where the button went down.
class RigaCampo : public QLineEdit {
public:
    explicit RigaCampo(std::function<void()> dopoClic) : m_dopoClic(std::move(dopoClic)) {}

protected:
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        QLineEdit::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton)
            m_dopoClic();
    }

private:
    std::function<void()> m_dopoClic;
};

} // namespace

DateTimePicker::DateTimePicker(QWidget* parent) : QDateTimeEdit(parent)
{
    setLineEdit(new RigaCampo([this] { selezionaParte(); }));
}

void DateTimePicker::selezionaParte()
{
    // What the user selected by dragging stays selected.
    if (lineEdit()->hasSelectedText() || currentSection() == NoSection)
        return;
    setSelectedSection(currentSection());
}

} // namespace platform
