// Shows GraphButton, ProgressBar, RangeTool and AnalogClock side by side in
// the day colours and in the night colours.
//   controls_viewer                 interactive
//   controls_viewer --shot out.png  saves a picture of the window and ends
#include "controls/analog_clock.h"
#include "controls/graph_button.h"
#include "controls/progress_bar.h"
#include "controls/range_tool.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QPixmap icon()
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 0, 128), 1.5));
    p.setBrush(QColor(250, 200, 40));
    p.drawEllipse(QPointF(8, 8), 4, 4);
    p.drawLine(QPointF(1, 15), QPointF(15, 1));
    return pm;
}

QPalette nightPalette()
{
    // The program's night colours: dark red, black lines.
    QPalette p;
    const QColor black(0, 0, 0);
    p.setColor(QPalette::Window, QColor(128, 0, 0));
    p.setColor(QPalette::WindowText, black);
    p.setColor(QPalette::Button, QColor(128, 0, 0));
    p.setColor(QPalette::ButtonText, black);
    p.setColor(QPalette::Light, QColor(255, 0, 0));
    p.setColor(QPalette::Midlight, black);
    p.setColor(QPalette::Dark, black);
    p.setColor(QPalette::Mid, black);
    p.setColor(QPalette::Shadow, black);
    p.setColor(QPalette::Highlight, QColor(64, 0, 0));
    return p;
}

QWidget* column(const QString& title, QList<GraphButton*>* focusable)
{
    auto* box = new QGroupBox(title);
    auto* grid = new QGridLayout(box);
    int row = 0;

    auto* ok = new GraphButton("OK");
    ok->setDefault(true);
    auto* load = new GraphButton("&Load file");
    load->setPicture(icon());
    auto* above = new GraphButton("Above");
    above->setPicture(icon());
    above->setPicturePosition(GraphButton::PictureAbove);
    above->setMinimumHeight(48);
    auto* off = new GraphButton("Disabled");
    off->setPicture(icon());
    off->setEnabled(false);
    auto* wrap = new GraphButton("A caption long enough to wrap");
    wrap->setMinimumHeight(40);
    grid->addWidget(new QLabel("GraphButton"), row++, 0, 1, 2);
    grid->addWidget(ok, row, 0);
    grid->addWidget(load, row++, 1);
    grid->addWidget(above, row, 0);
    grid->addWidget(off, row++, 1);
    grid->addWidget(wrap, row++, 0, 1, 2);
    focusable->append(load);

    grid->addWidget(new QLabel("ProgressBar (52.3 of 100)"), row++, 0, 1, 2);
    auto* bar = new ProgressBar;
    bar->setMax(100);
    bar->setValue(52.3);
    grid->addWidget(bar, row++, 0, 1, 2);

    grid->addWidget(new QLabel("RangeTool: etched; raised with locked upper; disabled"), row++, 0, 1, 2);
    auto* r1 = new RangeTool;
    r1->setFixedSize(217, 40);
    auto* r2 = new RangeTool;
    r2->setFixedSize(217, 40);
    r2->setBorderStyle(1);
    r2->setMax(90);
    r2->setUpperValue(90);
    r2->setLowerValue(10);
    r2->setUpperLocked(true);
    auto* r3 = new RangeTool;
    r3->setFixedSize(217, 40);
    r3->setEnabled(false);
    grid->addWidget(r1, row++, 0, 1, 2);
    grid->addWidget(r2, row++, 0, 1, 2);
    grid->addWidget(r3, row++, 0, 1, 2);

    grid->addWidget(new QLabel("AnalogClock 10:08:37 and 18:30:00"), row++, 0, 1, 2);
    auto* c1 = new AnalogClock;
    c1->setFixedSize(120, 120);
    c1->setValue(QTime(10, 8, 37));
    auto* c2 = new AnalogClock;
    c2->setFixedSize(160, 120);
    c2->setValue(QTime(18, 30, 0));
    grid->addWidget(c1, row, 0);
    grid->addWidget(c2, row++, 1);
    return box;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QString shot;
    const QStringList args = app.arguments();
    const int at = args.indexOf("--shot");
    if (at >= 0 && at + 1 < args.size())
        shot = args.at(at + 1);

    QWidget window;
    window.setWindowTitle("Astrovela controls");
    auto* layout = new QGridLayout(&window);
    QList<GraphButton*> focusable;
    QWidget* day = column("Day colours", &focusable);
    QWidget* night = column("Night colours", &focusable);
    night->setPalette(nightPalette());
    night->setAutoFillBackground(true);
    layout->addWidget(day, 0, 0);
    layout->addWidget(night, 0, 1);
    window.show();
    window.activateWindow();
    focusable.first()->setFocus();

    if (!shot.isEmpty()) {
        QTimer::singleShot(500, [&] {
            window.grab().save(shot);
            app.quit();
        });
    }
    return app.exec();
}
