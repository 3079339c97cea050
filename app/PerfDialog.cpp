#include "app/PerfDialog.h"

#include "app/AppIcon.h"
#include "app/ControlGeometry.h"
#include "app/DialogLayout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace kel {

namespace {

PlatformServices ServicesWithSink(MessageSink& sink)
{
    PlatformServices services = DefaultPlatformServices();
    services.messages = &sink;
    return services;
}

}  // namespace

PerfDialog::PerfDialog(QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_graph(this),
      m_tester(ServicesWithSink(m_messages))
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

PerfDialog::~PerfDialog() = default;

void PerfDialog::CreateControls()
{
    QLabel* pendingBuddy = nullptr;
    for (const ControlTemplate& entry : kMainControls) {
        const QString caption = entry.caption != nullptr ? QString::fromLatin1(entry.caption) : QString();
        QWidget* control = nullptr;
        switch (entry.kind) {
        case ControlKind::ResultsView:
            control = &m_graph;
            break;
        case ControlKind::Label:
        case ControlKind::RightLabel: {
            auto* label = new QLabel(caption, this);
            label->setAlignment((entry.kind == ControlKind::RightLabel ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
            control = label;
            break;
        }
        case ControlKind::DropDownList: {
            control = new QComboBox(this);
            break;
        }
        case ControlKind::Radio: {
            auto* radio = new QRadioButton(caption, this);
            radio->setFocusPolicy(Qt::ClickFocus);  // reached by its mnemonic, not by Tab
            connect(radio, &QRadioButton::clicked, this, &PerfDialog::OnDisplayMode);
            control = radio;
            break;
        }
        case ControlKind::Button:
        case ControlKind::DefaultButton: {
            auto* button = new QPushButton(caption, this);
            button->setDefault(entry.kind == ControlKind::DefaultButton);
            control = button;
            break;
        }
        case ControlKind::GroupBox:
            control = new QGroupBox(caption, this);
            break;
        case ControlKind::Edit:
            control = new QLineEdit(this);
            break;
        case ControlKind::CheckBox: {
            auto* check = new QCheckBox(caption, this);
            connect(check, &QCheckBox::clicked, this, &PerfDialog::OnSimultaneous);
            control = check;
            break;
        }
        }
        control->setObjectName(QStringLiteral("id%1").arg(entry.id));
        QRect rect = PixelRect(entry.x, entry.y, entry.width, entry.height);
        if (entry.kind == ControlKind::DropDownList) {
            // The template's height is that of the opened list; the closed box keeps its own.
            rect.setHeight(control->sizeHint().height());
        }
        if (entry.kind == ControlKind::Label || entry.kind == ControlKind::RightLabel) {
            PlaceLabel(control, rect, entry.kind == ControlKind::RightLabel);
        } else {
            control->setGeometry(rect);
        }
        if (pendingBuddy != nullptr) {
            pendingBuddy->setBuddy(control);
        }
        pendingBuddy = entry.kind == ControlKind::Label || entry.kind == ControlKind::RightLabel
                           ? static_cast<QLabel*>(control)
                           : nullptr;
        if (entry.createdHidden) {
            control->setVisible(false);
            control->setEnabled(false);
        }
        m_controls[entry.id] = control;
    }
    // The shared repetitions label stands last; its mnemonic leads to the
    // repetitions edit that stays visible in simultaneous mode.
    static_cast<QLabel*>(Control(id::kRepsLabel))->setBuddy(Control(id::kReadReps));
    m_driveList = static_cast<QComboBox*>(Control(id::kDriveList));
    m_presetList = static_cast<QComboBox*>(Control(id::kPresetList));

    auto clicked = [this](int controlId, void (PerfDialog::*handler)()) {
        connect(static_cast<QPushButton*>(Control(controlId)), &QPushButton::clicked, this, handler);
    };
    clicked(id::kStart, &PerfDialog::OnStart);
    clicked(id::kStop, &PerfDialog::OnStop);
    clicked(id::kAbout, &PerfDialog::OnAbout);
    clicked(id::kHelp, &PerfDialog::OnHelpButton);
    clicked(id::kAdvanced, &PerfDialog::OnAdvanced);
    clicked(id::kExit, &PerfDialog::reject);
    connect(m_presetList, &QComboBox::activated, this, &PerfDialog::OnSelchangePreset);
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
    SetEnabled(id::kStop, false);
    static_cast<QRadioButton*>(Control(id::kAsGraph))->setChecked(true);
    OnDisplayMode();
    OnSelchangePreset();
    LayoutPanel();
}

QWidget* PerfDialog::Control(int controlId) const
{
    const auto found = m_controls.find(controlId);
    return found != m_controls.end() ? found->second : nullptr;
}

void PerfDialog::SetEnabled(int controlId, bool enabled)
{
    Control(controlId)->setEnabled(enabled);
}

void PerfDialog::SetFocusTo(int controlId)
{
    Control(controlId)->setFocus(Qt::OtherFocusReason);
}

int PerfDialog::IsChecked(int controlId) const
{
    return static_cast<QAbstractButton*>(Control(controlId))->isChecked() ? 1 : 0;
}

void PerfDialog::OnDisplayMode()
{
    m_graph.SetDisplayMode(IsChecked(id::kAsGraph));
}

}  // namespace kel
