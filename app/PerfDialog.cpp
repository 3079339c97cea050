#include "app/PerfDialog.h"

#include "app/DataExchange.h"
#include "app/DialogLayout.h"
#include "app/GraphScaleSetting.h"
#include "app/MessagePresenter.h"
#include "app/PerfApp.h"
#include "app/RunExitGuard.h"
#include "app/VerifyDataSetting.h"
#include "drives/DriveDiscovery.h"
#include "platform/DriveTable.h"
#include "settings/ProfileFile.h"
#include "settings/SettingsLocation.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QPalette>
#include <QRadioButton>

#include <type_traits>

namespace kel {

namespace {

PlatformServices WithMessages(PlatformServices services, MessageSink& ownSink)
{
    if (services.messages == nullptr) {
        services.messages = &ownSink;
    }
    return services;
}

}  // namespace

PerfDialog::PerfDialog(const PlatformServices& services, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_services(WithMessages(services, m_messages)),
      m_graph(this),
      m_session(m_services, &m_graph, this)
{
    m_messages.SetParentWindow(this);
    setWindowTitle(QString::fromLatin1(kDialogCaption));
    QFont dialogFont(QStringLiteral("Liberation Sans"));
    dialogFont.setPixelSize(kDialogFontPixels);
    setFont(dialogFont);
    setFixedSize(DluToPixelsX(kDialogWidthDlu), DluToPixelsY(kDialogHeightDlu));
    CreateControls();
    OnInitDialog();
}

PerfDialog::~PerfDialog()
{
    ForgetAtProcessEnd(m_session.Tester());
}

template <int ControlId, class Control>
Control* PerfDialog::AddControl()
{
    static_assert(TemplateIndex(ControlId) < kMainControls.size(), "the layout table has no such control");
    constexpr ControlTemplate entry = kMainControls[TemplateIndex(ControlId)];
    const QString caption = entry.caption != nullptr ? QString::fromLatin1(entry.caption) : QString();
    Control* control = nullptr;
    if constexpr (std::is_same_v<Control, ResultGraph>) {
        control = &m_graph;
    } else if constexpr (std::is_constructible_v<Control, QString, QWidget*>) {
        control = new Control(caption, this);
    } else {
        control = new Control(this);
    }
    control->setObjectName(QStringLiteral("id%1").arg(ControlId));
    QRect rect = PixelRect(entry.x, entry.y, entry.width, entry.height);
    if constexpr (std::is_same_v<Control, QLabel>) {
        const bool right = entry.kind == ControlKind::RightLabel;
        control->setAlignment((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
        PlaceLabel(control, rect, right);
    } else {
        if constexpr (std::is_same_v<Control, QComboBox>) {
            PrepareDropDown(control);
            // The template's height is that of the opened list; the closed box keeps its own.
            rect.setHeight(control->sizeHint().height());
        }
        control->setGeometry(rect);
    }
    if constexpr (std::is_same_v<Control, QPushButton>) {
        control->setDefault(entry.kind == ControlKind::DefaultButton);
    }
    if constexpr (std::is_same_v<Control, QRadioButton>) {
        control->setFocusPolicy(Qt::ClickFocus);  // reached by its mnemonic, not by Tab
    }
    if (entry.createdHidden) {
        control->setVisible(false);
        control->setEnabled(false);
    }
    return control;
}

void PerfDialog::CreateControls()
{
    // In the layout table's order, which is the tab order.
    AddControl<id::kResults, ResultGraph>();
    m_presetLabel = AddControl<id::kPresetLabel, QLabel>();
    m_presetList = AddControl<id::kPresetList, QComboBox>();
    m_driveLabel = AddControl<id::kDriveLabel, QLabel>();
    m_driveList = AddControl<id::kDriveList, QComboBox>();
    m_displayLabel = AddControl<id::kDisplayLabel, QLabel>();
    m_asGraph = AddControl<id::kAsGraph, QRadioButton>();
    m_asText = AddControl<id::kAsText, QRadioButton>();
    m_helpButton = AddControl<id::kHelp, QPushButton>();
    m_aboutButton = AddControl<id::kAbout, QPushButton>();
    m_advancedButton = AddControl<id::kAdvanced, QPushButton>();
    m_startButton = AddControl<id::kStart, QPushButton>();
    m_stopButton = AddControl<id::kStop, QPushButton>();
    m_exitButton = AddControl<id::kExit, QPushButton>();
    m_accessNote = AddControl<id::kAccessNote, QLabel>();
    m_parameterPanel = AddControl<id::kParameters, QGroupBox>();
    m_sampsSecLabel = AddControl<id::kSampsSecLabel, QLabel>();
    m_sampsSecEdit = AddControl<id::kSampsSec, QLineEdit>();
    m_numFilesLabel = AddControl<id::kNumFilesLabel, QLabel>();
    m_numFilesEdit = AddControl<id::kNumFiles, QLineEdit>();
    m_fileSizeLabel = AddControl<id::kFileSizeLabel, QLabel>();
    m_fileSizeEdit = AddControl<id::kFileSize, QLineEdit>();
    m_bufSizeLabel = AddControl<id::kBufSizeLabel, QLabel>();
    m_bufSizeEdit = AddControl<id::kBufSize, QLineEdit>();
    m_readRepsLabel = AddControl<id::kReadRepsLabel, QLabel>();
    m_readRepsEdit = AddControl<id::kReadReps, QLineEdit>();
    m_writeRepsLabel = AddControl<id::kWriteRepsLabel, QLabel>();
    m_writeRepsEdit = AddControl<id::kWriteReps, QLineEdit>();
    m_minReadLabel = AddControl<id::kMinReadLabel, QLabel>();
    m_minReadEdit = AddControl<id::kMinRead, QLineEdit>();
    m_minWriteLabel = AddControl<id::kMinWriteLabel, QLabel>();
    m_minWriteEdit = AddControl<id::kMinWrite, QLineEdit>();
    m_simultaneousCheck = AddControl<id::kSimultaneous, QCheckBox>();
    m_repsLabel = AddControl<id::kRepsLabel, QLabel>();

    // Each label's mnemonic leads to the control after it (the panel's
    // labels only while it is expanded: SetPanelMnemonics).
    m_presetLabel->setBuddy(m_presetList);
    m_driveLabel->setBuddy(m_driveList);
    m_displayLabel->setBuddy(m_asGraph);
    // The note wraps within its rectangle, in a colour that catches the eye.
    m_accessNote->setWordWrap(true);
    m_accessNote->setAccessibleName(QStringLiteral("How the files were reached"));
    constexpr ControlTemplate note = kMainControls[TemplateIndex(id::kAccessNote)];
    m_accessNote->setGeometry(PixelRect(note.x, note.y, note.width, note.height));
    QPalette notePalette = m_accessNote->palette();
    notePalette.setColor(QPalette::WindowText, QColor(160, 0, 0));
    m_accessNote->setPalette(notePalette);
    // Screen readers name each list and edit by its label; buttons, radio
    // buttons and the group box by their own captions.
    const auto nameAfter = [](QWidget* control, const QLabel* label) {
        control->setAccessibleName(label->text().remove(QLatin1Char('&')).remove(QLatin1Char(':')));
    };
    nameAfter(m_presetList, m_presetLabel);
    nameAfter(m_driveList, m_driveLabel);
    for (const auto& [label, edit] : PanelFields()) {
        nameAfter(edit, label);
    }

    connect(m_asGraph, &QRadioButton::clicked, this, &PerfDialog::OnDisplayMode);
    connect(m_asText, &QRadioButton::clicked, this, &PerfDialog::OnDisplayMode);
    connect(m_simultaneousCheck, &QCheckBox::clicked, this, &PerfDialog::OnSimultaneous);
    connect(m_startButton, &QPushButton::clicked, this, &PerfDialog::OnStart);
    connect(m_stopButton, &QPushButton::clicked, this, &PerfDialog::OnStop);
    connect(m_aboutButton, &QPushButton::clicked, this, &PerfDialog::OnAbout);
    connect(m_helpButton, &QPushButton::clicked, this, &PerfDialog::OnHelpButton);
    connect(m_advancedButton, &QPushButton::clicked, this, &PerfDialog::OnAdvanced);
    connect(m_exitButton, &QPushButton::clicked, this, &PerfDialog::OnExit);
    connect(m_presetList, &QComboBox::activated, this, &PerfDialog::OnSelchangePreset);
    connect(&m_graph, &ResultGraph::PassDrawn, this, &PerfDialog::OnPassDrawn);
    connect(m_minReadEdit, &QLineEdit::editingFinished, this, &PerfDialog::OnRateEdited);
    connect(m_minWriteEdit, &QLineEdit::editingFinished, this, &PerfDialog::OnRateEdited);
    CreateShortcuts();
}

std::array<std::pair<QLabel*, QLineEdit*>, 8> PerfDialog::PanelFields() const
{
    return {{{m_sampsSecLabel, m_sampsSecEdit},
             {m_numFilesLabel, m_numFilesEdit},
             {m_fileSizeLabel, m_fileSizeEdit},
             {m_bufSizeLabel, m_bufSizeEdit},
             {m_readRepsLabel, m_readRepsEdit},
             {m_writeRepsLabel, m_writeRepsEdit},
             {m_minReadLabel, m_minReadEdit},
             {m_minWriteLabel, m_minWriteEdit}}};
}

void PerfDialog::OnInitDialog()
{
    UpdateData(false);
    setWindowIcon(ProgramIcon());
    m_advanced = 0;
    // The window manager's frame is not known before the window is shown, so
    // heights are those of the frame-less window; the frame adds the same
    // amount to both the expanded and the collapsed height.
    m_fullHeight = height();
    FillDriveList();
    LoadPresets();
    const ProfileFile settings(SettingsFilePath());
    m_graph.SetScale(ReadGraphScaleSetting(settings));
    m_verifyData = ReadVerifyDataSetting(settings);
    m_stopButton->setEnabled(false);
    m_asGraph->setChecked(true);
    OnDisplayMode();
    OnSelchangePreset();
    LayoutPanel();
}

void PerfDialog::OnDisplayMode()
{
    m_graph.SetDisplayMode(m_asGraph->isChecked() ? 1 : 0);
    // The two buttons are one Tab stop, the checked one; the arrow keys move
    // between them.
    m_asGraph->setFocusPolicy(m_asGraph->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    m_asText->setFocusPolicy(m_asText->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
}

// --- The parameter panel ---------------------------------------------------

void PerfDialog::OnAdvanced()
{
    m_advanced = m_advanced == 0 ? 1 : 0;
    m_advancedButton->setText(m_advanced == 1 ? QStringLiteral("Ad&vanced <<") : QStringLiteral("Ad&vanced >>"));
    LayoutPanel();
}

void PerfDialog::EnableParamEdits()
{
    for (const auto& [label, edit] : PanelFields()) {
        edit->setEnabled(m_advanced != 0);
    }
}

void PerfDialog::LayoutPanel()
{
    int newHeight = m_fullHeight;
    if (m_advanced == 0) {
        // The panel's height and a little more of the margin below the buttons.
        const int h = m_parameterPanel->geometry().height();
        newHeight = m_fullHeight - h / 18 - h;
    }
    // Expanding shows and enables before the window grows; collapsing
    // shrinks the window before hiding and disabling.
    if (m_advanced != 0) {
        EnableParamEdits();
        m_parameterPanel->show();
    }
    setFixedSize(width(), newHeight);
    update();
    if (m_advanced == 0) {
        m_parameterPanel->hide();
        EnableParamEdits();
    }
    SetPanelMnemonics();
}

void PerfDialog::SetPanelMnemonics()
{
    const bool expanded = m_advanced != 0;
    for (const auto& [label, edit] : PanelFields()) {
        label->setBuddy(expanded ? edit : nullptr);
    }
    // The shared repetitions label leads to the repetitions edit that stays
    // visible in simultaneous mode.
    m_repsLabel->setBuddy(expanded ? m_readRepsEdit : nullptr);
    // "&Buffer Size" and "A&bout..." share B: while the panel is open, the
    // letter leads to the buffer size; the button is still one Tab away.
    m_aboutButton->setText(expanded ? QStringLiteral("About...") : QStringLiteral("A&bout..."));
}

void PerfDialog::FocusParameterEdit(QLineEdit* edit)
{
    if (m_advanced == 0) {
        OnAdvanced();
    }
    edit->setFocus(Qt::OtherFocusReason);
}

void PerfDialog::OnSimultaneous()
{
    const bool ticked = m_simultaneousCheck->isChecked();
    for (QWidget* separateReps : std::initializer_list<QWidget*> {m_writeRepsLabel, m_writeRepsEdit, m_readRepsLabel}) {
        separateReps->setVisible(!ticked);
    }
    m_repsLabel->setVisible(ticked);
    repaint();
    ShowSettingsInEmptyView();
}

void PerfDialog::ShowSettingsInEmptyView()
{
    // A view that shows a finished run keeps it on screen; the thresholds
    // reach it at the next Start.
    if (m_graph.HasResults() == 0) {
        m_graph.ConfigureRun(0, 0, m_simultaneousCheck->isChecked() ? 1 : 0, m_parameters.minRead,
                             m_parameters.minWrite);
    }
}

// --- The drive list and the presets ----------------------------------------

void PerfDialog::FillDriveList()
{
    // The table is filled at start-up; entries come in letter order, which is
    // also the sorted order of their texts.
    int defaultItem = -1;
    for (const DriveEntry& entry : m_services.drives->Entries()) {
        m_driveList->addItem(QString::fromStdString(DriveItemText(entry)), static_cast<int>(entry.letter));
        if (entry.letter == 'C') {
            defaultItem = m_driveList->count() - 1;
        }
    }
    m_driveList->setCurrentIndex(defaultItem);
    FitDropDown(m_driveList);
}

void PerfDialog::LoadPresets()
{
    ProfileFile settings(SettingsFilePath());
    if (const auto problem = m_presets.LoadPresets(settings)) {
        ShowMessage(this, QString::fromStdString(*problem), kPlainBox);
    }
    LoadShippedPresets();
    FillPresetList(-1);
}

void PerfDialog::OnSelchangePreset()
{
    const int index = SelectedPresetIndex();
    if (index < 0 || index >= m_presets.ListedCount()) {
        return;  // no preset selected: nothing to apply
    }
    m_parameters = ParametersOf(m_presets.Listed(index));
    UpdateData(false);
    ShowSettingsInEmptyView();
}

}  // namespace kel
