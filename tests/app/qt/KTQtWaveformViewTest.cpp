// The waveform view as the place to choose a range: keys, mouse and wheel
// against the selection and the samples shown, and a label that reads over a
// loud waveform in a dark palette; a row of the bank overview in words.

#include "OffscreenApplication.h"

#include "app/platform/qt/KTQtBankOverviewRow.h"
#include "app/platform/qt/KTQtWaveformView.h"

#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {

using Range = TLSampleRange;
constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier, kCtrl = Qt::ControlModifier, kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kAltShift = Qt::AltModifier | Qt::ShiftModifier;

// A bank in a view 100 pixels wide, 655 samples a column.
struct ShownBank {
    ShownBank() : view((offscreenApplication(), nullptr))
    {
        view.setSamples(std::vector<std::int16_t>(65536, 1000));
        view.resize(100, 120);
        view.show();
        QObject::connect(&view, &KTQtWaveformView::selectionChanged, [this](bool done) { finished.push_back(done); });
    }
    KTQtWaveformView view;
    std::vector<bool> finished;
};

TEST(QtWaveformView, KeysSelectAndZoom)
{
    const struct {
        std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> keys;
        std::optional<Range> selection;
        Range visible;
    } cases[] = {
        {{{Qt::Key_Right, kShift}, {Qt::Key_Right, kShift}}, Range{0, 1310}, {0, 65536}},
        {{{Qt::Key_Right, kAltShift}, {Qt::Key_Right, kAltShift}, {Qt::Key_Right, kAltShift}}, Range{0, 3}, {0, 65536}},
        {{{Qt::Key_End, kNone}, {Qt::Key_Left, kShift}}, Range{64881, 65536}, {0, 65536}},
        {{{Qt::Key_Right, kNone}, {Qt::Key_End, kShift}, {Qt::Key_Home, kShift}}, Range{0, 655}, {0, 65536}},
        {{{Qt::Key_A, kCtrl}}, Range{0, 65536}, {0, 65536}},
        {{{Qt::Key_A, kCtrl}, {Qt::Key_Escape, kNone}}, std::nullopt, {0, 65536}},
        {{{Qt::Key_A, kCtrl}, {Qt::Key_Left, kNone}, {Qt::Key_Right, kShift}}, Range{0, 655}, {0, 65536}},
        {{{Qt::Key_Plus, kCtrl}}, std::nullopt, {16384, 49152}},
        {{{Qt::Key_Equal, kCtrl}, {Qt::Key_Minus, kCtrl}}, std::nullopt, {0, 65536}},
        {{{Qt::Key_Plus, kCtrl}, {Qt::Key_Plus, kCtrl}, {Qt::Key_0, kCtrl}}, std::nullopt, {0, 65536}},
        // Around the selection's centre; then at 8 pixels a sample the zoom stops and the view stays.
        {{{Qt::Key_End, kNone}, {Qt::Key_Left, kShift}, {Qt::Key_Plus, kCtrl}}, Range{64881, 65536}, {32768, 65536}},
        {std::vector(13, std::pair{Qt::Key_Plus, kCtrl}), std::nullopt, {32762, 32775}},
        {std::vector(20, std::pair{Qt::Key_Plus, kCtrl}), std::nullopt, {32762, 32775}},
        // Zoomed in, a step is one sample and the view follows the moving end.
        {{{Qt::Key_Plus, kCtrl}, {Qt::Key_Plus, kCtrl}, {Qt::Key_Plus, kCtrl}, {Qt::Key_Plus, kCtrl},
          {Qt::Key_Plus, kCtrl}, {Qt::Key_Plus, kCtrl}, {Qt::Key_Plus, kCtrl}, {Qt::Key_Plus, kCtrl},
          {Qt::Key_Plus, kCtrl}, {Qt::Key_Right, kShift}},
         Range{0, 1}, {1, 129}},
    };
    for (const auto& c : cases) {
        ShownBank shown;
        for (const auto& [key, modifiers] : c.keys)
            QTest::keyClick(&shown.view, key, modifiers);
        const std::string row = std::to_string(&c - cases);
        EXPECT_EQ(shown.view.selection(), c.selection) << row;
        EXPECT_EQ(shown.view.visibleRange(), c.visible) << row;
        EXPECT_EQ(std::count(shown.finished.begin(), shown.finished.end(), false), 0) << row;
    }
}

TEST(QtWaveformView, DragSelectsClickPlacesTheCursorAndTheWheelZoomsAtThePointer)
{
    ShownBank shown;
    KTQtWaveformView& view = shown.view;
    QTest::mousePress(&view, Qt::LeftButton, {}, {10, 50});
    QTest::mouseMove(&view, {30, 50});
    QTest::mouseRelease(&view, Qt::LeftButton, {}, {30, 50});
    EXPECT_EQ(view.selection(), (Range{6554, 19661}));
    EXPECT_EQ(view.selectionText(), "Selected 6,554 to 19,661: 13,107 samples, 297.21 ms");
    EXPECT_EQ(shown.finished, (std::vector{false, false, true}));
    QTest::mouseClick(&view, Qt::LeftButton, {}, {40, 50});
    EXPECT_EQ(view.selection(), std::nullopt);
    EXPECT_EQ(view.cursor(), 26214u);
    EXPECT_EQ(view.selectionText(), "Cursor at 26,214 (594.42 ms)");

    const auto wheel = [&view](int x, int notches, Qt::KeyboardModifiers modifiers) {
        QWheelEvent event({double(x), 50.0}, view.mapToGlobal(QPointF(x, 50)), {}, {0, 120 * notches},
                          Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&view, &event);
    };
    wheel(25, -1, kNone);
    EXPECT_EQ(view.visibleRange(), (Range{0, 65536})) << "a whole bank does not scroll";
    wheel(25, 1, kCtrl);
    EXPECT_EQ(view.visibleRange(), (Range{8192, 40960})) << "sample 16,384 stays at pixel 25";
    wheel(25, -1, kNone);
    EXPECT_EQ(view.visibleRange(), (Range{12288, 45056}));
}

TEST(QtWaveformView, TheLabelReadsOverALoudWaveInADarkPalette)
{
    offscreenApplication();
    KTQtWaveformView view;
    QPalette dark;
    dark.setColor(QPalette::Base, Qt::black), dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::Highlight, QColor(80, 160, 255));
    view.setPalette(dark), view.resize(300, 120);
    std::vector<std::int16_t> loud(65536);
    for (std::size_t i = 0; i < loud.size(); ++i)
        loud[i] = i % 2 ? 32767 : -32768;
    view.setSamples(loud);
    view.setSelection(Range{0, 65536});
    const QImage image = view.grab().toImage();
    const QRect label(4, 4, view.fontMetrics().horizontalAdvance(view.lengthText()) + 8, view.fontMetrics().height());
    int light = 0;
    for (int x = label.left(); x <= label.right(); ++x)
        for (int y = label.top(); y <= label.bottom(); ++y)
            light += qGray(image.pixel(x, y)) > 128;
    // Only the text's strokes are light; the wave under the box is dimmed to dark.
    EXPECT_LT(light, label.width() * label.height() / 3);
    EXPECT_GT(light, 0);
    EXPECT_GT(qGray(image.pixel(150, 100)), 60) << "beside the label the wave shows";
}

} // namespace

TEST(QtBankOverview, ARowSaysItsBankLengthSampleAndMark)
{
    offscreenApplication();
    KTQtBankOverviewRow row(2, nullptr);
    const std::vector<std::int16_t> samples(100, 5);
    row.show(samples, 1.25, "kick.wav", false);
    EXPECT_EQ(row.accessibleName(), "Bank 3: 1.25 s, kick.wav");
    EXPECT_EQ(row.toolTip(), row.accessibleName());
    row.show(samples, 0.0, "pad", true);
    EXPECT_EQ(row.toolTip(), "Bank 3: silent, pad, unsaved");
}
