#include "app/form1.h"

#include "app/colorentrydialog.h"
#include "app/transientnote.h"
#include "color/basicpalette.h"
#include "color/colortext.h"
#include "color/contrast.h"
#include "color/copyforms.h"
#include "color/nearestcolor.h"
#include "framework/stdctrls.h"
#include "framework/xpm.h"
#include "picker/colorpicker.h"
#include "widgets/colorcombo/colorcombobox.h"
#include "widgets/listview/celllocale.h"
#include "widgets/listview/listviewclasses.h"
#include "widgets/listview/ordolistview.h"
#include "widgets/slider/imageslider.h"
#include "widgets/slider/slideraccessible.h"
#include "widgets/slider/sliderclass.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QMenu>
#include <QScopeGuard>
#include <QScopedValueRollback>

#include <array>
#include <mutex>

namespace {

template <class T> T* findControl(QWidget* root, const char* name)
{
    T* control = root->findChild<T*>(QLatin1String(name));
    if (!control)
        throw Exception(QStringLiteral("The layout has no control '%1'").arg(QLatin1String(name)));
    return control;
}

// A preview colour's channels; system colours resolved.
RgbTriple TripleOf(TColor color)
{
    return ChannelsOf(ColorToRGB(color));
}

} // namespace

void RegisterModuleClasses()
{
    static std::once_flag once;
    std::call_once(once, [] {
        Q_INIT_RESOURCE(app);
        RegisterStandardClasses();
        RegisterMenuClasses();
        RegisterSliderClasses();
        RegisterColorComboClasses();
        RegisterListViewClasses();
        TForm1::RegisterClass();
    });
}

void InitializeModules()
{
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterModuleClasses();
        InitSliderModule();
        InstallSliderAccessibility();
        InstallNoteAccessibility();
        LoadCellLocale();
    });
}

QString TForm1::LayoutText()
{
    RegisterModuleClasses();
    QFile file(QStringLiteral(":/huebox/form1.layout"));
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("The window layout is missing from the program"));
    return QString::fromUtf8(file.readAll());
}

TFormObject TForm1::StoredLayout()
{
    return ParseFormText(LayoutText());
}

TForm1::TForm1() : TForm1(StoredLayout()) {}

TForm1::TForm1(const QString& layoutText) : TForm1(ParseFormText(layoutText)) {}

TForm1::TForm1(const TFormObject& layout) : listColors_(ListColorsOf(layout))
{
    InitializeModules();
    SetClassName(this, QStringLiteral("TForm1"));
    ReadLayout(layout, Handlers());
    FindControls();
    // The layout binds ClrCmbBoxChange to the box's change and to its exit;
    // the exit is marked so that the handler can tell the two apart.
    if (const TNotifyEvent exit = ClrCmbBox->OnExit) {
        ClrCmbBox->OnExit = [this, exit](QObject* sender) {
            const QScopedValueRollback exiting(comboExiting_, true);
            exit(sender);
        };
    }
    NameForAssistiveTechnology();
    const QPixmap picture = QPixmap::fromImage(ReadXpmFile(QStringLiteral(":/huebox/huebox.xpm")));
    setWindowIcon(QIcon(picture));
    ProgramIcon->SetPicture(picture);
    CreateActions();
    FormCreate();
    ShowContrast();
}

TForm1::~TForm1()
{
    // Before anything goes: from here on no handler the layout bound runs.
    IncludeState(csDestroying);
}

THandlerTable TForm1::Handlers()
{
    const auto bind = [this](void (TForm1::*handler)(QObject*)) {
        return std::any(TNotifyEvent([this, handler](QObject* sender) { (this->*handler)(sender); }));
    };
    return {
        {QStringLiteral("SlRChange"), bind(&TForm1::SlRChange)},
        {QStringLiteral("SlGChange"), bind(&TForm1::SlGChange)},
        {QStringLiteral("SlBChange"), bind(&TForm1::SlBChange)},
        {QStringLiteral("RBtn1Click"), bind(&TForm1::RBtn1Click)},
        {QStringLiteral("RBtn2Click"), bind(&TForm1::RBtn2Click)},
        {QStringLiteral("RdBtn1Click"), bind(&TForm1::RdBtn1Click)},
        {QStringLiteral("BtnCopyClick"), bind(&TForm1::BtnCopyClick)},
        {QStringLiteral("ClrCmbBoxChange"), bind(&TForm1::ClrCmbBoxChange)},
        {QStringLiteral("ListVClick"), bind(&TForm1::ListVClick)},
        {QStringLiteral("ListVKeyUp"),
         std::any(TKeyEvent(
             [this](QObject* sender, int& key, Qt::KeyboardModifiers shift) { ListVKeyUp(sender, key, shift); }))},
    };
}

void TForm1::FindControls()
{
    PageControl1 = findControl<TPageControl>(this, "PageControl1");
    SlR = findControl<TImageSlider>(this, "SlR");
    SlG = findControl<TImageSlider>(this, "SlG");
    SlB = findControl<TImageSlider>(this, "SlB");
    TxtR = findControl<TLabel>(this, "TxtR");
    TxtG = findControl<TLabel>(this, "TxtG");
    TxtB = findControl<TLabel>(this, "TxtB");
    RBtn1 = findControl<TRadioButton>(this, "RBtn1");
    RBtn2 = findControl<TRadioButton>(this, "RBtn2");
    RdBtn1 = findControl<TRadioButton>(this, "RdBtn1");
    RdBtn2 = findControl<TRadioButton>(this, "RdBtn2");
    RdBtn3 = findControl<TRadioButton>(this, "RdBtn3");
    RdBtn4 = findControl<TRadioButton>(this, "RdBtn4");
    RdBtn5 = findControl<TRadioButton>(this, "RdBtn5");
    BtnCopy = findControl<TButton>(this, "BtnCopy");
    Panel1 = findControl<TMemo>(this, "Panel1");
    ProgramIcon = findControl<TImage>(this, "ProgramIcon");
    Comments = findControl<TLabel>(this, "Comments");
    ClrCmbBox = findControl<TColorComboBox>(this, "ClrCmbBox");
    ListV = findControl<TOrdoListView>(this, "ListV");
}

// Names a screen reader announces for the controls that show no caption of
// their own.
void TForm1::NameForAssistiveTechnology()
{
    SlR->setAccessibleName(QStringLiteral("Red"));
    SlG->setAccessibleName(QStringLiteral("Green"));
    SlB->setAccessibleName(QStringLiteral("Blue"));
    ListV->setAccessibleName(QStringLiteral("Цветовые константы"));
    // On this desktop a combo box is announced by its current text (the
    // colour's name); what it is for goes into its description.
    ClrCmbBox->setAccessibleName(QStringLiteral("Основные цвета"));
    ClrCmbBox->setAccessibleDescription(QStringLiteral("Основные цвета"));
    Panel1->setAccessibleName(QStringLiteral("Код цвета"));
    BtnCopy->setAccessibleName(BtnCopy->text());
}

void TForm1::FormCreate()
{
    Model.FormCreate();
    // The sliders start at the colour the box shows.
    comboAppliedIndex_ = ClrCmbBox->ItemIndex();
}

void TForm1::SlRChange(QObject*)
{
    ChannelChange(TChannel::Red);
}
void TForm1::SlGChange(QObject*)
{
    ChannelChange(TChannel::Green);
}
void TForm1::SlBChange(QObject*)
{
    ChannelChange(TChannel::Blue);
}

void TForm1::ChannelChange(TChannel channel)
{
    TImageSlider* slider = Slider(channel);
    const int v = slider->Value();
    slider->SetColor(ChannelTint(channel, v));
    Model.ChangeColor();
    NumberLabel(channel)->SetCaption(QString::number(v));
}

// The tooltip names the colour of the target, so it follows the switch
// even when neither colour changes.
void TForm1::RBtn1Click(QObject*)
{
    AsOneChange([this] { Model.RBtn1Click(); });
    ShowContrast();
}

void TForm1::RBtn2Click(QObject*)
{
    AsOneChange([this] { Model.RBtn2Click(); });
    ShowContrast();
}
void TForm1::RdBtn1Click(QObject*)
{
    Model.RdBtn1Click();
}

void TForm1::BtnCopyClick(QObject*)
{
    Panel1->SelectAll();
    Panel1->CopyToClipboard();
    Panel1->SetSelStart(0);
    recent_.Add(Model.ReadSliders());
    ShowCopied();
}

// The combo box's change loads the selected basic colour; the sliders' own
// change events bring it to the preview. Its exit does the same only for a
// choice the sliders never took: a colour that came in since by any other
// road (sliders, list, paste, entry, pick) is the user's and stays.
void TForm1::ClrCmbBoxChange(QObject*)
{
    const int index = ClrCmbBox->ItemIndex();
    if (comboExiting_ && index == comboAppliedIndex_)
        return;
    if (const std::optional<RgbTriple> color = BasicPaletteColor(index)) {
        BringIn([&] { Model.LoadSliders(*color); });
        comboAppliedIndex_ = index;
    }
}

void TForm1::ListVClick(QObject*)
{
    LoadSelectedRow();
}
void TForm1::ListVKeyUp(QObject*, int&, Qt::KeyboardModifiers)
{
    LoadSelectedRow();
}

// The Red, Green and Blue cells of the selected row, read by position so
// that the sort order does not matter. Without a selection (a click below
// the last row) nothing is loaded.
void TForm1::LoadSelectedRow()
{
    const TListItem* row = ListV->Selected();
    if (!row)
        return;
    if (const std::optional<RgbTriple> color = TripleFromTexts(row->SubItem(0), row->SubItem(1), row->SubItem(2)))
        BringIn([&] { Model.LoadColor(*color); });
}

TImageSlider* TForm1::Slider(TChannel channel) const
{
    return std::array{SlR, SlG, SlB}[static_cast<std::size_t>(channel)];
}

TLabel* TForm1::NumberLabel(TChannel channel) const
{
    return std::array{TxtR, TxtG, TxtB}[static_cast<std::size_t>(channel)];
}

int TForm1::SliderValue(TChannel channel) const
{
    return Slider(channel)->Value();
}
void TForm1::SetSliderValue(TChannel channel, int value)
{
    Slider(channel)->SetValue(value);
}
bool TForm1::IsTextTarget() const
{
    return RBtn1->isChecked();
}

bool TForm1::IsFormatChecked(TLiteralFormat format) const
{
    switch (format) {
    case TLiteralFormat::Delphi:
        return RdBtn1->isChecked();
    case TLiteralFormat::VisualCpp:
        return RdBtn2->isChecked();
    case TLiteralFormat::Html:
        return RdBtn3->isChecked();
    case TLiteralFormat::HtmlBody:
        return RdBtn4->isChecked();
    case TLiteralFormat::VisualBasic:
        return RdBtn5->isChecked();
    }
    return false;
}

void TForm1::SetPreviewText(const QString& text)
{
    Panel1->SetText(text);
}
void TForm1::SetPreviewFontColor(TColor color)
{
    SetPreviewColors(std::nullopt, color);
}
void TForm1::SetPreviewBackColor(TColor color)
{
    SetPreviewColors(color, std::nullopt);
}

// Within AsOneChange the colours wait for its end, so that both reach the
// preview in one palette change.
void TForm1::SetPreviewColors(std::optional<TColor> back, std::optional<TColor> font)
{
    if (changeDepth_ > 0) {
        if (back)
            pendingBackColor_ = back;
        if (font)
            pendingFontColor_ = font;
        return;
    }
    if (!back && !font)
        return;
    Panel1->SetColors(back, font);
    ShowContrast();
}

void TForm1::AsOneChange(const std::function<void()>& change)
{
    ++changeDepth_;
    // Also when a handler fails half-way: the preview shows where it got to.
    const auto apply = qScopeGuard([this] {
        if (--changeDepth_ > 0)
            return;
        SetPreviewColors(std::exchange(pendingBackColor_, std::nullopt),
                         std::exchange(pendingFontColor_, std::nullopt));
    });
    change();
}

// The contrast of the two colours, then the name of the one under edit.
void TForm1::ShowContrast()
{
    QString tip = ContrastText(ContrastRatio(Panel1->FontColor(), Panel1->Color()));
    if (const auto nearest = NearestColors().Find(TripleOf(IsTextTarget() ? Panel1->FontColor() : Panel1->Color())))
        tip += u'\n' + NearestColorText(*nearest);
    Panel1->setToolTip(tip);
}

// --- colours in and out beyond the controls -----------------------------------

QAction* TForm1::AddAction(const QString& text, const QKeySequence& keys, void (TForm1::*run)())
{
    auto* action = new QAction(text, this);
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    action->setShortcutVisibleInContextMenu(true);
    connect(action, &QAction::triggered, this, [this, run] { RunAction([this, run] { (this->*run)(); }); });
    addAction(action);
    return action;
}

void TForm1::RunAction(const std::function<void()>& run)
{
    Guard([this, &run] {
        // Whatever the note said belongs to the action before this one.
        if (note_)
            note_->Dismiss();
        run();
    });
}

QAction* TForm1::AddAction(const QString& text, QKeySequence::StandardKey keys, void (TForm1::*run)())
{
    QAction* action = AddAction(text, QKeySequence(keys), run);
    action->setShortcuts(keys);
    return action;
}

void TForm1::CreateActions()
{
    PasteAction = AddAction(QStringLiteral("Вставить цвет"), QKeySequence::Paste, &TForm1::PasteColor);
    EnterAction = AddAction(QStringLiteral("Ввести цвет…"), QKeySequence(Qt::CTRL | Qt::Key_L), &TForm1::EnterColor);
    PickAction =
        AddAction(QStringLiteral("Взять цвет с экрана"), QKeySequence(Qt::CTRL | Qt::Key_P), &TForm1::PickColor);
    CopyAction = AddAction(QStringLiteral("Копировать"), QKeySequence::Copy, &TForm1::CopyColor);
    // The read-only preview offers these four instead of the text box's own menu.
    Panel1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Panel1, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        Guard([this, pos] { PreviewMenu()->popup(Panel1->viewport()->mapToGlobal(pos)); });
    });
}

QMenu* TForm1::PreviewMenu()
{
    // Made on first use: start-up pays nothing for it.
    if (!previewMenu_) {
        previewMenu_ = new QMenu(this);
        previewMenu_->addActions({PasteAction, EnterAction, PickAction});
        previewMenu_->addMenu(RecentMenu());
        previewMenu_->addSeparator();
        previewMenu_->addMenu(ContrastMenu());
        previewMenu_->addSeparator();
        previewMenu_->addAction(CopyAction);
        previewMenu_->addMenu(CopyAsMenu());
    }
    return previewMenu_;
}

QMenu* TForm1::CopyAsMenu()
{
    if (copyAsMenu_)
        return copyAsMenu_;
    copyAsMenu_ = new QMenu(QStringLiteral("Копировать как"), this);
    for (TCopyForm form : CopyForms) {
        QAction* entry = copyAsMenu_->addAction(QString());
        connect(entry, &QAction::triggered, this, [this, form] { RunAction([this, form] { CopyAs(form); }); });
    }
    // Each entry shows what it copies, for the colour as it is when the menu opens.
    connect(copyAsMenu_, &QMenu::aboutToShow, this, [this] {
        Guard([this] {
            const QList<QAction*> entries = copyAsMenu_->actions();
            for (qsizetype i = 0; i < entries.size() && i < qsizetype(CopyForms.size()); ++i) {
                const TCopyForm form = CopyForms[std::size_t(i)];
                QString text = CopyFormTitle(form) + u'\t' + CopyFormText(form, Model.ReadSliders(), NearestColors());
                entries[i]->setText(text.replace(u'&', QStringLiteral("&&")));
            }
        });
    });
    return copyAsMenu_;
}

// As the copy button copies: plain text, the same confirmation. The window's
// format stays what the button and Ctrl+C copy.
void TForm1::CopyAs(TCopyForm form)
{
    QGuiApplication::clipboard()->setText(CopyFormText(form, Model.ReadSliders(), NearestColors()));
    recent_.Add(Model.ReadSliders());
    ShowCopied();
}

const TNamedColorLookup& TForm1::NamedColors()
{
    if (!namedColors_) {
        namedColors_ = std::make_unique<TNamedColorLookup>();
        ForEachListColor([this](const QString& name, RgbTriple c) { namedColors_->Add(name, c); });
    }
    return *namedColors_;
}

// Built first for the tooltip while the window is made, so from the rows in
// their stored order (ties go to the earlier row): the rows never change,
// only their order. The name lookup waits for the first text to read: the
// start-up needs only this.
const TNearestColorFinder& TForm1::NearestColors()
{
    if (!nearestColors_) {
        nearestColors_ = std::make_unique<TNearestColorFinder>();
        ForEachListColor([this](const QString& name, RgbTriple c) { nearestColors_->Add(name, c); });
    }
    return *nearestColors_;
}

void TForm1::ForEachListColor(const std::function<void(const QString&, RgbTriple)>& take) const
{
    for (const TListColor& c : listColors_)
        take(c.Name, c.Color);
}

TColorReadResult TForm1::ReadColor(const QString& text)
{
    return ReadColorText(text, NamedColors());
}

QString TForm1::CurrentLiteral(const std::optional<TOutputFormat>& format)
{
    const RgbTriple c = Model.ReadSliders();
    if (!format)
        return Model.LiteralFor(c);
    return OutputLiteral(*format, c, Model.State().BackHtml, Model.State().TextHtml, NearestColors());
}

void TForm1::ApplyColorText(const QString& text)
{
    const TColorReadResult result = ReadColor(text);
    if (!result.IsOk()) {
        ShowFailure(result.Message);
        return;
    }
    ApplyColor(result);
}

void TForm1::ApplyColor(const TColorReadResult& result)
{
    switch (result.Kind) {
    case TColorTextKind::Color:
        BringIn([&] { Model.LoadColor(result.Color); });
        break;
    case TColorTextKind::BodyTag:
        BringIn([&] { Model.LoadPair(result.Text, result.Background); });
        break;
    case TColorTextKind::Error:
        break;
    }
}

void TForm1::PasteColor()
{
    ApplyColorText(QGuiApplication::clipboard()->text());
}

void TForm1::EnterColor()
{
    if (auto* open = findChild<TColorEntryDialog*>(QString(), Qt::FindDirectChildrenOnly)) {
        open->activateWindow();
        return;
    }
    auto* dialog = new TColorEntryDialog([this](const QString& text) { return ReadColor(text); }, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this,
            [this, dialog] { Guard([this, dialog] { ApplyColor(dialog->Result()); }); });
    dialog->open();
}

void TForm1::PickColor()
{
    if (picker_ && picker_->IsActive())
        return;
    if (!picker_) {
        picker_ = CreateColorPicker(this);
        if (!picker_) {
            ShowFailure(ScreenPickUnavailableText());
            return;
        }
        // The magnifier writes the colour under the pointer as the preview would.
        picker_->SetFormatter([this](TColor c) { return Model.LiteralFor(TripleOf(c)); });
        connect(picker_, &TColorPicker::Hovered, this,
                [this](TColor c) { Guard([this, c] { PreviewPickedColor(c); }); });
        connect(picker_, &TColorPicker::Picked, this, [this](TColor c) {
            Guard([this, c] {
                RestorePreview();
                BringIn([&] { Model.LoadColor(TripleOf(c)); });
            });
        });
        connect(picker_, &TColorPicker::Cancelled, this, [this] { Guard([this] { RestorePreview(); }); });
        connect(picker_, &TColorPicker::Failed, this, [this](const QString& message) {
            Guard([this, message] {
                RestorePreview();
                ShowFailure(message);
            });
        });
    }
    picker_->Start(windowHandle());
}

// While a pick is under way the preview shows the colour under the pointer
// in the current format and target, without touching a slider.
void TForm1::PreviewPickedColor(TColor color)
{
    if (!savedPreview_)
        savedPreview_ = TSavedPreview{Panel1->Text(), Panel1->FontColor(), Panel1->Color()};
    if (IsTextTarget())
        SetPreviewFontColor(color);
    else
        SetPreviewBackColor(color);
    SetPreviewText(Model.LiteralFor(TripleOf(color)));
}

void TForm1::RestorePreview()
{
    if (!savedPreview_)
        return;
    const TSavedPreview saved = *std::exchange(savedPreview_, std::nullopt);
    SetPreviewText(saved.Text);
    SetPreviewFontColor(saved.FontColor);
    SetPreviewBackColor(saved.BackColor);
}

void TForm1::CopyColor()
{
    if (focusWidget() == Panel1 && !Panel1->SelText().isEmpty()) {
        Panel1->CopyToClipboard();
        recent_.Add(Model.ReadSliders());
        ShowCopied();
        return;
    }
    BtnCopyClick(BtnCopy);
}

TTransientNote* TForm1::Note()
{
    if (!note_)
        note_ = new TTransientNote(this);
    return note_;
}

// The part of the preview box that its one line of text leaves empty, below
// that line: the notes are shown there, over nothing anyone reads or clicks.
QRect TForm1::NoteArea() const
{
    const QWidget* viewport = Panel1->viewport();
    QRect area = viewport->rect();
    area.setTop(qMin(Panel1->TextRect().bottom() + 1, area.bottom() + 1));
    return area.translated(viewport->mapTo(this, QPoint()));
}

// A brief word after a copy.
void TForm1::ShowCopied()
{
    Note()->ShowIn(QStringLiteral("Скопировано"), NoteArea(), 1500, false);
}

// Why a colour did not come in: no box to dismiss, nothing moves, and a
// screen reader hears it.
void TForm1::ShowFailure(const QString& message)
{
    Note()->ShowIn(message, NoteArea(), 4000, true);
}
