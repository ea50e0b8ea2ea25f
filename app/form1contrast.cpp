// The preview menu's "Контраст" and "Недавние цвета", and the recording of
// the colours that come in.
#include "app/form1.h"

#include "color/colortext.h"
#include "color/contrast.h"
#include "color/contrastlevels.h"
#include "framework/application.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QPainter>
#include <QStyle>

QMenu* TForm1::RefilledMenu(QMenu*& menu, const QString& title, void (TForm1::*fill)())
{
    if (!menu) {
        menu = new QMenu(title, this);
        connect(menu, &QMenu::aboutToShow, this, [this, fill] { Guard([this, fill] { (this->*fill)(); }); });
    }
    return menu;
}

QAction* TForm1::AddApplyEntry(QMenu* menu, const QString& text, const TColorReadResult& result)
{
    QAction* entry = menu->addAction(text);
    connect(entry, &QAction::triggered, this, [this, result] { RunAction([this, result] { ApplyColor(result); }); });
    return entry;
}

// The search takes milliseconds: it runs when the menu opens, never at start.
QMenu* TForm1::ContrastMenu()
{
    return RefilledMenu(contrastMenu_, QStringLiteral("Контраст"), &TForm1::FillContrastMenu);
}

void TForm1::FillContrastMenu()
{
    contrastMenu_->clear();
    const auto [text, back] = Pair();
    const double ratio = ContrastRatio(text, back);
    // What is only read is shown disabled: a click on it does nothing.
    contrastMenu_->addAction(ContrastRatioCaption(ratio))->setEnabled(false);
    for (const TContrastLevel& level : ContrastLevels)
        contrastMenu_->addAction(ContrastLevelCaption(level, ratio))->setEnabled(false);
    if (ratio >= SuggestedLevels.back())
        return;
    contrastMenu_->addSeparator();
    for (const TContrastSuggestion& s : ContrastSuggestions(text, back)) {
        if (ratio >= s.Level)
            continue;
        if (!s.Color) {
            contrastMenu_->addAction(ContrastSuggestionCaption(s))->setEnabled(false);
            continue;
        }
        // As a body tag with just that colour: the other one stays, whichever
        // the sliders edit.
        TColorReadResult result;
        result.Kind = TColorTextKind::BodyTag;
        (s.ForText ? result.Text : result.Background) = s.Color->Color;
        AddApplyEntry(contrastMenu_, ContrastSuggestionCaption(s), result);
    }
}

QMenu* TForm1::RecentMenu()
{
    return RefilledMenu(recentMenu_, QStringLiteral("Недавние цвета"), &TForm1::FillRecentMenu);
}

void TForm1::FillRecentMenu()
{
    recentMenu_->clear();
    if (recent_.Colors().isEmpty())
        recentMenu_->addAction(QStringLiteral("Пусто"))->setEnabled(false);
    const int side = recentMenu_->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, recentMenu_);
    for (const RgbTriple& c : recent_.Colors()) {
        QPixmap swatch(side, side);
        swatch.fill(QColor(c.R, c.G, c.B));
        QPainter frame(&swatch);
        frame.setPen(Qt::black);
        frame.drawRect(0, 0, side - 1, side - 1);
        frame.end();
        TColorReadResult result;
        result.Kind = TColorTextKind::Color;
        result.Color = c;
        AddApplyEntry(recentMenu_, HtmlOf(c.R, c.G, c.B), result)->setIcon(QIcon(swatch));
    }
}

std::pair<RgbTriple, RgbTriple> TForm1::Pair() const
{
    const TColorState& state = Model.State();
    const RgbTriple edited = Model.ReadSliders();
    return IsTextTarget() ? std::pair(edited, state.BackColor) : std::pair(state.TextColor, edited);
}

void TForm1::BringIn(const std::function<void()>& load)
{
    const auto [textBefore, backBefore] = Pair();
    AsOneChange(load);
    const auto [textAfter, backAfter] = Pair();
    // The colour under edit last, so that it heads the list.
    const bool text = IsTextTarget();
    const RgbTriple before[2] = {text ? backBefore : textBefore, text ? textBefore : backBefore};
    const RgbTriple after[2] = {text ? backAfter : textAfter, text ? textAfter : backAfter};
    for (int i = 0; i < 2; ++i) {
        if (!(before[i] == after[i]))
            recent_.Add(before[i]);
    }
    if (!(before[0] == after[0]))
        recent_.Add(after[0]);
    recent_.Add(after[1]);
}
