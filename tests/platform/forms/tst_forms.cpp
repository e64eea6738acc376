#include "forms/colors.h"
#include "forms/controls.h"
#include "forms/filedialog.h"
#include "forms/form.h"
#include "forms/msgbox.h"
#include "forms/program.h"
#include "forms/timer.h"
#include "support/scripted.h"
#include <QMessageBox>
#include <QtTest>

class TstForms : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { forms::setProgram({QStringLiteral("Forms Test"), 1, 2, 3}); }

    void twipsToPixels_data();
    void twipsToPixels();
    void colors_data();
    void colors();
    void versionText_data();
    void versionText();

    void timerTicksOnTestClock();
    void timerIntervalChangeRestartsCount();
    void timerHandlerIsNeverReentered();

    void msgBoxDefaultsAndResults_data();
    void msgBoxDefaultsAndResults();
    void msgBoxRealLoop();

    void fileDialogFilters_data();
    void fileDialogFilters();

    void formLifecycle();
    void modalShowReturnsWhenUnloaded();
    void mousePropagationStopsAtControls();
    void progressBarRejectsValuesOutsideRange();
    void endProgramHidesWindowsAndCallsHandler();
};

void TstForms::twipsToPixels_data()
{
    QTest::addColumn<int>("twips");
    QTest::addColumn<int>("pixels");
    QTest::newRow("zero") << 0 << 0;
    QTest::newRow("one pixel") << 15 << 1;
    QTest::newRow("launcher width") << 9000 << 600;
    QTest::newRow("rounds half up") << 7 << 0;
    QTest::newRow("rounds up") << 8 << 1;
    QTest::newRow("negative") << -150 << -10;
}

void TstForms::twipsToPixels()
{
    QFETCH(int, twips);
    QFETCH(int, pixels);
    QCOMPARE(forms::px(twips), pixels);
}

void TstForms::colors_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("white") << "&H00FFFFFF&" << QColor(255, 255, 255);
    QTest::newRow("blue is the low byte's neighbour") << "&H00FF0000&" << QColor(0, 0, 255);
    QTest::newRow("yellow") << "&H0000FFFF&" << QColor(255, 255, 0);
    QTest::newRow("no trailing ampersand") << "&H000000FF" << QColor(255, 0, 0);
    QTest::newRow("button face") << "&H8000000F&" << QApplication::palette().color(QPalette::Button);
    QTest::newRow("highlight") << "&H8000000D&" << QApplication::palette().color(QPalette::Highlight);
    QTest::newRow("highlighted text") << "&H8000000E&" << QApplication::palette().color(QPalette::HighlightedText);
    QTest::newRow("not a colour") << "white" << QColor();
}

void TstForms::colors()
{
    QFETCH(QString, text);
    QFETCH(QColor, expected);
    QCOMPARE(forms::color(text), expected);
}

void TstForms::versionText_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("text");
    QTest::newRow("launcher") << 1 << 0 << 12 << "Version 1.0.12";
    QTest::newRow("other build") << 2 << 3 << 4 << "Version 2.3.4";
    QTest::newRow("small revision") << 1 << 0 << 5 << "Version 1.0.5";
}

void TstForms::versionText()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, revision);
    QFETCH(QString, text);
    QCOMPARE(forms::versionText({QString(), major, minor, revision}), text);
}

void TstForms::timerTicksOnTestClock()
{
    forms::TestClock clock;
    forms::Timer slow(nullptr, 2000, false);
    forms::Timer fast(nullptr, 50, true);
    QStringList order;
    connect(&slow, &forms::Timer::tick, this, [&] { order << QStringLiteral("slow@%1").arg(clock.now()); });
    connect(&fast, &forms::Timer::tick, this, [&] {
        if (clock.now() % 1000 == 0)
            order << QStringLiteral("fast@%1").arg(clock.now());
    });

    clock.advance(1999);
    QVERIFY(order.filter("slow").isEmpty());   // disabled
    slow.setEnabled(true);                     // first tick one interval from now
    clock.advance(1999);
    QVERIFY(order.filter("slow").isEmpty());
    clock.advance(1);
    QCOMPARE(order.filter("slow"), QStringList{"slow@3999"});
    // Timers due at the same moment tick in the order they were created.
    QCOMPARE(order.filter("@1000"), QStringList{"fast@1000"});
    slow.setEnabled(false);
    clock.advance(10000);
    QCOMPARE(order.filter("slow").size(), 1);
}

void TstForms::timerIntervalChangeRestartsCount()
{
    forms::TestClock clock;
    forms::Timer t(nullptr, 2000, true);
    QSignalSpy ticks(&t, &forms::Timer::tick);
    clock.advance(1500);
    t.setInterval(1000);
    clock.advance(999);
    QCOMPARE(ticks.count(), 0);
    clock.advance(1);
    QCOMPARE(ticks.count(), 1);
    t.setInterval(0);   // an interval of 0 never ticks, enabled or not
    clock.advance(5000);
    QCOMPARE(ticks.count(), 1);
}

void TstForms::timerHandlerIsNeverReentered()
{
    // A handler that waits in a nested event loop (as one with an open message box
    // does) must not be entered again by its own timer meanwhile.
    forms::Timer t(nullptr, 20, true);
    int depth = 0, maxDepth = 0, calls = 0;
    connect(&t, &forms::Timer::tick, this, [&] {
        ++calls;
        maxDepth = std::max(maxDepth, ++depth);
        if (calls == 1) {
            QEventLoop loop;
            QTimer::singleShot(200, &loop, &QEventLoop::quit);
            loop.exec();
        }
        --depth;
    });
    QTRY_VERIFY_WITH_TIMEOUT(calls >= 2, 2000);
    QCOMPARE(maxDepth, 1);
}

void TstForms::msgBoxDefaultsAndResults_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("defaultAnswer");
    QTest::newRow("OK only") << 0 << 1;
    QTest::newRow("Yes/No") << 4 << 6;
    QTest::newRow("Yes/No, information, No default (324)") << 324 << 7;
    QTest::newRow("stop icon, OK") << 16 << 1;
    QTest::newRow("Yes/No/Cancel, third default") << (3 + 512) << 2;
}

void TstForms::msgBoxDefaultsAndResults()
{
    QFETCH(int, buttons);
    QFETCH(int, defaultAnswer);
    QCOMPARE(forms::defaultResult(buttons), defaultAnswer);

    tavtest::ScriptedMsgBoxes boxes;
    QCOMPARE(forms::msgBox(QStringLiteral("Hello"), buttons), defaultAnswer);
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown.first().title, QStringLiteral("Forms Test"));   // the program title
    QCOMPARE(boxes.shown.first().buttons, buttons);
    boxes.answer(7);
    QCOMPARE(forms::msgBox(QStringLiteral("Again"), buttons, QStringLiteral("Own title"), QString(), 1000), 7);
    QCOMPARE(boxes.shown.last().title, QStringLiteral("Own title"));
    QCOMPARE(boxes.shown.last().context, 1000);
}

void TstForms::msgBoxRealLoop()
{
    // The real box: title, icon, buttons and the default button, answered by a click.
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    QString defaultButton;
    QTimer::singleShot(50, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        for (QAbstractButton *b : box->buttons())
            buttons << b->text().remove('&');
        defaultButton = box->defaultButton()->text().remove('&');
        box->button(QMessageBox::Yes)->click();
    });
    const int result = forms::msgBox(QStringLiteral("Are you sure?"), 324, QStringLiteral("Quillet"));
    QCOMPARE(result, 6);
    QCOMPARE(title, QStringLiteral("Quillet"));
    QCOMPARE(text, QStringLiteral("Are you sure?"));
    QCOMPARE(icon, QMessageBox::Information);
    QCOMPARE(buttons.size(), 2);
    QCOMPARE(defaultButton, QStringLiteral("No"));
}

void TstForms::fileDialogFilters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("editor") << "All Files (*.*)|*.*|Text Files (*.qlt)|*.qlt"
                            << QStringList{"All Files (*.*) (*)", "Text Files (*.qlt) (*.qlt)"};
    QTest::newRow("several patterns") << "Music|*.mp3;*.ogg" << QStringList{"Music (*.mp3 *.ogg)"};
    QTest::newRow("dangling description") << "Only text" << QStringList{};
}

void TstForms::fileDialogFilters()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, expected);
    QCOMPARE(forms::qtNameFilters(filter), expected);
}

namespace {
class ProbeForm : public forms::Form {
public:
    QStringList *events;
    explicit ProbeForm(QStringList *log) : events(log)
    {
        setBorderStyle(forms::BorderStyle::FixedSingle);
        setClientSizeTwips(4425, 1230);
        setStartUpPosition(forms::StartUpPosition::Manual, {345, 630});
    }
protected:
    void formLoad() override { events->append(QStringLiteral("Load")); }
    void formUnload() override { events->append(QStringLiteral("Unload")); }
};
} // namespace

void TstForms::formLifecycle()
{
    QStringList events;
    QPointer<ProbeForm> form = new ProbeForm(&events);
    QCOMPARE(form->size(), QSize(295, 82));
    QCOMPARE(form->minimumSize(), form->maximumSize());   // fixed border: not resizable
    form->showModeless();
    form->showModeless();   // showing again does not load again
    QCOMPARE(events, QStringList{"Load"});
    QCOMPARE(form->geometry().topLeft(), QPoint(23, 42));   // the client area's corner
    form->unload();
    QCOMPARE(events, (QStringList{"Load", "Unload"}));
    QTRY_VERIFY(form.isNull());   // unloaded windows are gone
}

void TstForms::modalShowReturnsWhenUnloaded()
{
    QStringList events;
    auto *form = new ProbeForm(&events);
    QTimer::singleShot(50, form, [form] {
        QVERIFY(form->isVisible());
        QCOMPARE(form->windowModality(), Qt::ApplicationModal);
        form->close();   // the close box takes the same path as unload
    });
    form->showModal();
    QCOMPARE(events, (QStringList{"Load", "Unload"}));
}

void TstForms::mousePropagationStopsAtControls()
{
    QStringList events;
    auto *form = new ProbeForm(&events);
    auto *label = new forms::Label(form, QStringLiteral("Label1"), QStringLiteral("Hi"), {0, 0, 1500, 600});
    QSignalSpy formMoves(form, &forms::Form::mouseMoved);
    QSignalSpy labelMoves(label, &forms::Label::mouseMoved);
    form->showModeless();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    QTest::mouseMove(form, QPoint(20, 10));
    QTRY_VERIFY(labelMoves.count() > 0);
    QCOMPARE(formMoves.count(), 0);
    QTest::mouseMove(form, QPoint(200, 60));
    QTRY_VERIFY(formMoves.count() > 0);
    QCOMPARE(label->accessibleName(), QStringLiteral("Hi"));
    form->unload();
}

void TstForms::progressBarRejectsValuesOutsideRange()
{
    forms::ProgressBar bar(nullptr, QStringLiteral("ProgressBar1"), QStringLiteral("Progress"), {0, 0, 1500, 255});
    QCOMPARE(bar.max(), 100.0f);
    bar.setValue(bar.value() + 1);
    QCOMPARE(bar.value(), 1.0f);
    bar.setValue(100.0f);
    QVERIFY_THROWS_EXCEPTION(forms::PropertyError, bar.setValue(101.0f));
    QVERIFY_THROWS_EXCEPTION(forms::PropertyError, bar.setValue(-1.0f));
    QCOMPARE(bar.value(), 100.0f);
}

void TstForms::endProgramHidesWindowsAndCallsHandler()
{
    QStringList events;
    auto *form = new ProbeForm(&events);
    form->showModeless();
    int ended = 0;
    forms::setEndProgramHandler([&] { ++ended; });
    const int before = forms::endProgramCount();
    forms::endProgram();
    forms::setEndProgramHandler(nullptr);
    QCOMPARE(ended, 1);
    QCOMPARE(forms::endProgramCount(), before + 1);
    QVERIFY(!form->isVisible());
    QCOMPARE(events, QStringList{"Load"});   // ending runs no Unload code
    delete form;
}

QTEST_MAIN(TstForms)
#include "tst_forms.moc"
