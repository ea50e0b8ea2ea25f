// The main window: its controls come from the stored layout, its handlers
// connect them to the colour model.
#pragma once

#include "app/commandline.h"
#include "app/listcolors.h"
#include "color/colormodel.h"
#include "color/recentcolors.h"
#include "framework/forms.h"

#include <QKeySequence>

#include <functional>
#include <memory>
#include <optional>
#include <utility>

class TImageSlider;
class TLabel;
class TRadioButton;
class TButton;
class TMemo;
class TPageControl;
class TImage;
class TColorComboBox;
class TOrdoListView;
class TColorPicker;
class TTransientNote;
class TNamedColorLookup;
class TNearestColorFinder;
struct TColorReadResult;
class QAction;
class QMenu;

class TForm1 : public TForm, private IColorView {
    Q_OBJECT
public:
    // Builds the window from its layout (raising no handler), then runs
    // FormCreate. A broken layout raises EFormError.
    TForm1();
    // The same from another layout text (tests read broken ones).
    explicit TForm1(const QString& layoutText);
    explicit TForm1(const TFormObject& layout);
    ~TForm1() override;

    TPageControl* PageControl1 = nullptr;
    TImageSlider* SlR = nullptr;
    TImageSlider* SlG = nullptr;
    TImageSlider* SlB = nullptr;
    TLabel* TxtR = nullptr;
    TLabel* TxtG = nullptr;
    TLabel* TxtB = nullptr;
    TRadioButton* RBtn1 = nullptr;
    TRadioButton* RBtn2 = nullptr;
    TRadioButton* RdBtn1 = nullptr;
    TRadioButton* RdBtn2 = nullptr;
    TRadioButton* RdBtn3 = nullptr;
    TRadioButton* RdBtn4 = nullptr;
    TRadioButton* RdBtn5 = nullptr;
    TButton* BtnCopy = nullptr;
    TMemo* Panel1 = nullptr;
    TImage* ProgramIcon = nullptr;
    TLabel* Comments = nullptr;
    TColorComboBox* ClrCmbBox = nullptr;
    TOrdoListView* ListV = nullptr;

    const TColorState& ColorState() const { return Model.State(); }

    // Ways in and out beyond the window's controls: window-wide shortcuts,
    // also offered by the preview box's context menu.
    QAction* PasteAction = nullptr; // "Вставить цвет", Ctrl+V
    QAction* EnterAction = nullptr; // "Ввести цвет…", Ctrl+L
    QAction* PickAction = nullptr;  // "Взять цвет с экрана", Ctrl+P
    QAction* CopyAction = nullptr;  // "Копировать", Ctrl+C
    QMenu* PreviewMenu();
    // "Копировать как", in the preview's menu after "Копировать".
    QMenu* CopyAsMenu();
    // "Контраст": the pair's ratio, its verdicts and the nearest colours that
    // pass, computed each time it opens.
    QMenu* ContrastMenu();
    // "Недавние цвета": the recent colours, newest first; one loads the
    // colour under edit.
    QMenu* RecentMenu();
    // The colours that came in by any road but the sliders, those they
    // replaced, and the copied ones.
    const TRecentColors& RecentColors() const { return recent_; }
    // The note that confirms a copy or says why a colour did not come in;
    // made when first needed.
    TTransientNote* Note();

    // Reads the clipboard's text as a colour and applies it.
    void PasteColor();
    // Opens the dialog in which a colour is typed.
    void EnterColor();
    // Lets the user take a colour from any pixel of the screen.
    void PickColor();
    // The literal, as the copy button copies it; a selection made in the
    // focused preview box copies just that.
    void CopyColor();
    // The one way in for a colour read from text: an error is shown in the
    // note beside the preview and changes nothing.
    void ApplyColorText(const QString& text);
    void ApplyColor(const TColorReadResult& result);
    // Reads text as a paste does, the list's names included; loads nothing.
    TColorReadResult ReadColor(const QString& text);
    // The literal of the colour under edit in the format, or in the window's
    // own format when none is given.
    QString CurrentLiteral(const std::optional<TOutputFormat>& format);
    // The list's colours, for the name of any colour.
    const TNearestColorFinder& NearestColors();

    // The handlers the layout binds by name.
    void FormCreate();
    void SlRChange(QObject* Sender);
    void SlGChange(QObject* Sender);
    void SlBChange(QObject* Sender);
    void RBtn1Click(QObject* Sender);
    void RBtn2Click(QObject* Sender);
    void RdBtn1Click(QObject* Sender);
    void BtnCopyClick(QObject* Sender);
    void ClrCmbBoxChange(QObject* Sender);
    void ListVClick(QObject* Sender);
    void ListVKeyUp(QObject* Sender, int& Key, Qt::KeyboardModifiers Shift);

    // The stored layout, as compiled into the program.
    static QString LayoutText();
    // The same, parsed. It needs no display and no window, so the program
    // reads it while the application starts (see main()).
    static TFormObject StoredLayout();
    static void RegisterClass();

private:
    THandlerTable Handlers();
    void FindControls();
    void NameForAssistiveTechnology();
    void CreateActions();
    QAction* AddAction(const QString& text, QKeySequence::StandardKey keys, void (TForm1::*run)());
    QAction* AddAction(const QString& text, const QKeySequence& keys, void (TForm1::*run)());
    const TNamedColorLookup& NamedColors();
    // Each row of the colour list with a valid colour, in the layout's order.
    void ForEachListColor(const std::function<void(const QString&, RgbTriple)>& take) const;
    // Runs a menu entry or shortcut: errors shown, the note of the last one gone.
    void RunAction(const std::function<void()>& run);
    void CopyAs(TCopyForm form);
    // A submenu made on first use and filled again each time it opens.
    QMenu* RefilledMenu(QMenu*& menu, const QString& title, void (TForm1::*fill)());
    // An entry that applies a colour as a paste would.
    QAction* AddApplyEntry(QMenu* menu, const QString& text, const TColorReadResult& result);
    void FillContrastMenu();
    void FillRecentMenu();
    // The text and the background colour as they are now.
    std::pair<RgbTriple, RgbTriple> Pair() const;
    // Runs a load by a road other than the sliders; what it replaced and
    // what it brought go to the recent colours.
    void BringIn(const std::function<void()>& load);
    QRect NoteArea() const;
    void ShowCopied();
    void ShowFailure(const QString& message);
    void PreviewPickedColor(TColor color);
    void RestorePreview();
    void ShowContrast();
    // Runs a change that may set all three sliders: the preview box takes
    // only the colours it ends with, once, instead of one per slider.
    void AsOneChange(const std::function<void()>& change);
    void SetPreviewColors(std::optional<TColor> back, std::optional<TColor> font);
    void ChannelChange(TChannel channel);
    void LoadSelectedRow();
    TImageSlider* Slider(TChannel channel) const;
    TLabel* NumberLabel(TChannel channel) const;

    // IColorView
    int SliderValue(TChannel channel) const override;
    void SetSliderValue(TChannel channel, int value) override;
    bool IsTextTarget() const override;
    bool IsFormatChecked(TLiteralFormat format) const override;
    void SetPreviewText(const QString& text) override;
    void SetPreviewFontColor(TColor color) override;
    void SetPreviewBackColor(TColor color) override;

    TColorModel Model{*this};
    // The list's rows as the layout gives them; the list view shows the same.
    std::vector<TListColor> listColors_;
    std::unique_ptr<TNamedColorLookup> namedColors_;
    std::unique_ptr<TNearestColorFinder> nearestColors_;
    QMenu* copyAsMenu_ = nullptr;
    QMenu* previewMenu_ = nullptr;
    QMenu* contrastMenu_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    TRecentColors recent_;
    TColorPicker* picker_ = nullptr;
    TTransientNote* note_ = nullptr;
    // The combo box's item the sliders last took from it, and whether its
    // handler runs for the box's exit: leaving the box re-applies only a
    // choice that never reached the sliders.
    int comboAppliedIndex_ = -1;
    bool comboExiting_ = false;
    // The preview as it was before a pick showed the colour under the pointer.
    struct TSavedPreview {
        QString Text;
        TColor FontColor;
        TColor BackColor;
    };
    std::optional<TSavedPreview> savedPreview_;
    int changeDepth_ = 0;
    std::optional<TColor> pendingFontColor_;
    std::optional<TColor> pendingBackColor_;
};

// Everything the program registers before the first window is read: the
// slider's cursors, the classes a layout may name.
void InitializeModules();
// The part of it that needs no display and touches nothing of Qt's own
// start-up: the program's resources and the classes a layout may name. Safe
// to run on another thread while the application starts.
void RegisterModuleClasses();
