#include "framework/stdctrls.h"

#include "framework/canvas.h"
#include "framework/devicegrid.h"

#include <QAbstractTextDocumentLayout>
#include <QButtonGroup>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTabBar>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QTextLayout>

#include <algorithm>

Qt::Alignment toQt(TAlignment a)
{
    return a == taRightJustify ? Qt::AlignRight : a == taCenter ? Qt::AlignHCenter : Qt::AlignLeft;
}

std::array<TBevelEdge, 4> BevelEdges(const TRect& r, TBevelCut bevel, int line)
{
    const bool lowered = bevel == bvLowered;
    const TColor topLeft = lowered ? clBtnShadow : clBtnHighlight;
    const TColor bottomRight = lowered ? clBtnHighlight : clBtnShadow;
    return {{{{r.Left, r.Top, r.Left + line, r.Bottom - line}, topLeft},
             {{r.Left, r.Top, r.Right - line, r.Top + line}, topLeft},
             {{r.Right - line, r.Top, r.Right, r.Bottom}, bottomRight},
             {{r.Left, r.Bottom - line, r.Right, r.Bottom}, bottomRight}}};
}

// --- TLabel ---------------------------------------------------------------

TLabel::TLabel() : TControl(this)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextFormat(Qt::PlainText);
}

void TLabel::SetAlignment(TAlignment a)
{
    alignment_ = a;
    setAlignment(toQt(a) | Qt::AlignTop);
}

void TLabel::SetAutoSize(bool value)
{
    autoSize_ = value;
    Fit();
}

void TLabel::SetCaption(const QString& caption)
{
    setText(caption);
    Fit();
}

void TLabel::changeEvent(QEvent* e)
{
    QLabel::changeEvent(e);
    if (e->type() == QEvent::FontChange)
        Fit();
}

void TLabel::Loaded()
{
    TControl::Loaded();
    Fit();
}

void TLabel::Fit()
{
    // While a layout is read, the stored size stands until everything that
    // decides the fit (font, text, AutoSize itself) has been read.
    if (InState(csLoading | csReading))
        return;
    // Measuring loads the label's font; a label on a page nobody has opened
    // yet waits until it is shown, so start-up loads only the fonts it shows.
    if (parentWidget() && !isVisibleTo(window())) {
        fitPending_ = true;
        return;
    }
    fitPending_ = false;
    if (autoSize_ && !wordWrap())
        resize(sizeHint());
}

void TLabel::showEvent(QShowEvent* e)
{
    if (fitPending_)
        Fit();
    QLabel::showEvent(e);
}

void TLabel::mouseReleaseEvent(QMouseEvent* e)
{
    QLabel::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
        DoClick();
}

// --- TButton, TRadioButton --------------------------------------------------

TButton::TButton() : TControl(this)
{
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QPushButton::clicked, this, [this] { DoClick(); });
}

TRadioButton::TRadioButton() : TControl(this)
{
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QRadioButton::toggled, this, [this](bool on) {
        UpdateGroupTabStop();
        if (on)
            DoClick();
    });
}

void TRadioButton::Loaded()
{
    TControl::Loaded();
    UpdateGroupTabStop(); // the tab order is read now
}

std::vector<TRadioButton*> TRadioButton::GroupInTabOrder() const
{
    std::vector<TRadioButton*> buttons;
    if (QWidget* parent = parentWidget()) {
        for (QWidget* w : ChildrenInTabOrder(parent))
            if (auto* r = dynamic_cast<TRadioButton*>(w); r && r->group() == group())
                buttons.push_back(r);
    }
    return buttons;
}

void TRadioButton::UpdateGroupTabStop()
{
    const std::vector<TRadioButton*> buttons = GroupInTabOrder();
    if (buttons.empty())
        return;
    const auto checked = std::find_if(buttons.begin(), buttons.end(), [](TRadioButton* b) { return b->isChecked(); });
    const TRadioButton* stop = checked != buttons.end() ? *checked : buttons.front();
    for (TRadioButton* b : buttons)
        b->SetTabStop(b == stop);
}

void TRadioButton::keyPressEvent(QKeyEvent* e)
{
    int step = 0;
    switch (e->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        step = -1;
        break;
    case Qt::Key_Down:
    case Qt::Key_Right:
        step = 1;
        break;
    default:
        QRadioButton::keyPressEvent(e);
        return;
    }
    e->accept();
    const std::vector<TRadioButton*> buttons = GroupInTabOrder();
    const auto self = std::find(buttons.begin(), buttons.end(), this);
    if (self == buttons.end())
        return;
    const auto n = static_cast<std::ptrdiff_t>(buttons.size());
    const std::ptrdiff_t at = self - buttons.begin();
    for (std::ptrdiff_t i = 1; i < n; ++i) {
        TRadioButton* next = buttons[static_cast<size_t>(((at + step * i) % n + n) % n)];
        if (next->isEnabled() && next->isVisibleTo(window())) {
            next->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            next->setChecked(true);
            return;
        }
    }
}

bool TRadioButton::event(QEvent* e)
{
    // The parent's own group, not Qt's automatic one: that one also counts
    // the buttons of nested group boxes, so a checked button there would let
    // the checked button here be clicked off.
    if (e->type() == QEvent::ParentChange) {
        if (QButtonGroup* old = group())
            old->removeButton(this);
        if (QWidget* parent = parentWidget()) {
            auto* g = parent->findChild<QButtonGroup*>(QString(), Qt::FindDirectChildrenOnly);
            if (!g)
                g = new QButtonGroup(parent);
            g->addButton(this);
            UpdateGroupTabStop();
        }
    }
    return QRadioButton::event(e);
}

void TRadioButton::focusInEvent(QFocusEvent* e)
{
    // Qt hands the group's Tab stop to whichever button has the focus; here
    // it stays with the checked one.
    QRadioButton::focusInEvent(e);
    UpdateGroupTabStop();
}

// --- TGroupBox ----------------------------------------------------------------

TGroupBox::TGroupBox() : TControl(this) {}

void TGroupBox::resizeEvent(QResizeEvent* e)
{
    QGroupBox::resizeEvent(e);
    AlignControls(this);
}

// --- TMemo ----------------------------------------------------------------------

TMemo::TMemo() : TControl(this, QPalette::Base)
{
    setAcceptRichText(false);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    // Only the program writes the text: nothing to undo.
    setUndoRedoEnabled(false);
    SetColor(clWindow);
}

namespace {

const QEvent::Type MemoFlushEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

} // namespace

void TMemo::SetText(const QString& text)
{
    text_ = text;
    if (!textPending_) {
        textPending_ = true;
        QCoreApplication::postEvent(this, new QEvent(MemoFlushEvent));
    }
}

QRect TMemo::TextRect() const
{
    Flush();
    QRectF lines;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        const QTextLayout* layout = block.layout();
        const QPointF origin = document()->documentLayout()->blockBoundingRect(block).topLeft();
        for (int i = 0; i < layout->lineCount(); ++i)
            lines |= layout->lineAt(i).naturalTextRect().translated(origin);
    }
    return lines.toAlignedRect().translated(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
}

void TMemo::Flush() const
{
    if (!textPending_)
        return;
    auto* self = const_cast<TMemo*>(this);
    self->textPending_ = false;
    // Replaced in place, keeping the blocks' alignment, instead of
    // rebuilding the document; the caret goes to the start.
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    cursor.insertText(text_);
    QTextCursor caret = textCursor();
    caret.movePosition(QTextCursor::Start);
    self->setTextCursor(caret);
}

namespace {

template <std::size_t N> bool IsOneOf(QEvent::Type type, const QEvent::Type (&types)[N])
{
    return std::find(std::begin(types), std::end(types), type) != std::end(types);
}

} // namespace

bool TMemo::event(QEvent* e)
{
    if (e->type() == MemoFlushEvent) {
        Flush();
        return true;
    }
    // Input and queries read the document; the change notifications that a
    // colour or tooltip change sends do not.
    static constexpr QEvent::Type reading[] = {
        QEvent::KeyPress, QEvent::KeyRelease, QEvent::ShortcutOverride, QEvent::InputMethod, QEvent::InputMethodQuery,
        QEvent::FocusIn,  QEvent::FocusOut,   QEvent::ContextMenu,      QEvent::Show,
    };
    if (IsOneOf(e->type(), reading))
        Flush();
    return QTextEdit::event(e);
}

bool TMemo::viewportEvent(QEvent* e)
{
    static constexpr QEvent::Type reading[] = {
        QEvent::Paint,     QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
        QEvent::MouseMove, QEvent::ContextMenu,      QEvent::DragEnter,          QEvent::Drop,
    };
    if (IsOneOf(e->type(), reading))
        Flush();
    return QTextEdit::viewportEvent(e);
}

void TMemo::SelectAll()
{
    Flush();
    selectAll();
}

void TMemo::CopyToClipboard()
{
    Flush();
    copy();
}

void TMemo::SetAlignment(TAlignment a)
{
    Flush();
    alignment_ = a;
    QTextOption option = document()->defaultTextOption();
    option.setAlignment(toQt(a));
    document()->setDefaultTextOption(option);
    // Existing blocks keep their own format; align them too.
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    QTextBlockFormat format;
    format.setAlignment(toQt(a));
    cursor.mergeBlockFormat(format);
}

void TMemo::SetReadOnly(bool value)
{
    setReadOnly(value);
    // Read-only text can still be selected and copied.
    if (value)
        setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

int TMemo::SelStart() const
{
    Flush();
    return textCursor().selectionStart();
}

void TMemo::SetSelStart(int pos)
{
    Flush();
    QTextCursor cursor = textCursor();
    cursor.setPosition(std::clamp(pos, 0, static_cast<int>(document()->characterCount()) - 1));
    setTextCursor(cursor);
}

QString TMemo::SelText() const
{
    Flush();
    return textCursor().selectedText();
}

QMimeData* TMemo::createMimeDataFromSelection() const
{
    auto* data = new QMimeData;
    data->setText(textCursor().selection().toPlainText());
    return data;
}

void TMemo::ApplyFontColor(QPalette& palette, const QColor& color)
{
    TControl::ApplyFontColor(palette, color);
    palette.setColor(QPalette::Text, color);
}

// --- TPanel ---------------------------------------------------------------------

TPanel::TPanel() : TControl(this)
{
    // A panel paints its own face in its colour (its parent's unless set),
    // whatever lies behind it.
    setAutoFillBackground(true);
    UpdateMargins();
}

void TPanel::SetBevelInner(TBevelCut b)
{
    inner_ = b;
    UpdateMargins();
    update();
}

void TPanel::SetBevelOuter(TBevelCut b)
{
    outer_ = b;
    UpdateMargins();
    update();
}

void TPanel::UpdateMargins()
{
    const int m = (inner_ != bvNone) + (outer_ != bvNone);
    setContentsMargins(m, m, m, m);
}

void TPanel::paintEvent(QPaintEvent* e)
{
    QFrame::paintEvent(e);
    QPainter painter(this);
    // Between whole device pixel ratios the bevels are laid out in device
    // pixels, each line equally thick on every side; Qt's own scaling would
    // round every edge on its own and make them one or two pixels wide.
    const qreal ratio = PaintDeviceRatio(painter);
    const bool fractional = IsFractionalRatio(ratio);
    const TDeviceGrid grid(fractional ? ratio : 1);
    if (fractional)
        painter.scale(1 / ratio, 1 / ratio);
    TRect r = grid.Area(TRect{0, 0, width(), height()});
    // The outer bevel first, the inner one inside it.
    for (TBevelCut bevel : {outer_, inner_}) {
        if (bevel == bvNone)
            continue;
        for (const TBevelEdge& edge : BevelEdges(r, bevel, grid.Line()))
            if (!edge.Rect.IsEmpty())
                painter.fillRect(QRect(edge.Rect.Left, edge.Rect.Top, edge.Rect.Width(), edge.Rect.Height()),
                                 ToQColor(edge.Color));
        r = r.Inflated(-grid.Line(), -grid.Line());
    }
}

void TPanel::resizeEvent(QResizeEvent* e)
{
    QFrame::resizeEvent(e);
    AlignControls(this);
}

// --- TImage -------------------------------------------------------------------------

TImage::TImage() : TControl(this)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void TImage::SetPictureData(const QByteArray& data)
{
    QPixmap pixmap;
    if (!data.isEmpty() && !pixmap.loadFromData(data))
        throw Exception(QStringLiteral("Invalid picture data"));
    data_ = data;
    setPixmap(pixmap);
}

void TImage::SetPicture(const QPixmap& pixmap)
{
    data_.clear();
    setPixmap(pixmap);
}

// --- TTabSheet, TPageControl ------------------------------------------------------

// A page shows its own colour, the window's unless set, not the lighter pane
// the style draws behind the pages.
TTabSheet::TTabSheet() : TControl(this)
{
    setAutoFillBackground(true);
}

void TTabSheet::SetCaption(const QString& caption)
{
    caption_ = caption;
    // The sheet lives in the page control's stack; find the tab that shows it.
    for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
        if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
            const int index = tabs->indexOf(this);
            if (index >= 0)
                tabs->setTabText(index, caption);
            break;
        }
    }
}

void TTabSheet::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    AlignControls(this);
}

TPageControl::TPageControl() : TControl(this)
{
    setFocusPolicy(Qt::StrongFocus);
}

void TPageControl::AddPage(TTabSheet* page)
{
    addTab(page, page->Caption());
}

QString TPageControl::ActivePageName() const
{
    const QWidget* page = currentWidget();
    return page ? page->objectName() : QString();
}

void TPageControl::SetActivePageName(const QString& name)
{
    activePage_ = name;
    if (InState(csReading))
        return; // the page may not be read yet
    for (int i = 0; i < count(); ++i)
        if (widget(i)->objectName() == name)
            setCurrentIndex(i);
}

void TPageControl::Loaded()
{
    TControl::Loaded();
    if (!activePage_.isEmpty())
        SetActivePageName(activePage_);
}
