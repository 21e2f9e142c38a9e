#include "fleet_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

#include "app/settings_files.h"
#include "link/simulated_link.h"
#include "platform_info.h"
#include "qt_port_directory.h"
#include "signalling/five_tone_dialog.h"
#include "util/numbers.h"
#include "view_helpers.h"

namespace qx {
namespace {

// Marks a label the user typed, which a refresh of the list keeps.
constexpr int kTypedRole = Qt::UserRole + 1;

QPushButton* Button(const QString& name, const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    // Enter in the password field must neither start nor close the writes.
    button->setAutoDefault(false);
    return button;
}

QTableWidgetItem* ReadOnlyItem() {
    auto* item = new QTableWidgetItem;
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

QString DefaultLabel(int row) { return QStringLiteral("#%1").arg(row + 1); }

}  // namespace

FleetWindow::FleetWindow(const Document& doc, Session& session, PortLinks& links,
                         const LanguageTexts& texts, QWidget* parent, LinkFactory makeLink,
                         std::unique_ptr<PortDirectory> directory)
    : QDialog(parent),
      doc_(doc),
      session_(session),
      texts_(texts),
      makeLink_(std::move(makeLink)),
      directory_(std::move(directory)),
      table_(new QTableWidget(0, kColumns, this)),
      selfIdStart_(new QLineEdit(this)),
      password_(new QLineEdit(this)),
      backupFirst_(new QCheckBox(ToQString(texts.LanguageText("RW", "rw007")), this)),
      verify_(new QCheckBox(ToQString(texts.LanguageText("RW", "rw008")), this)),
      status_(new QLabel(this)),
      refresh_(Button(QStringLiteral("cmdRefresh"), Text("refresh"), this)),
      start_(Button(QStringLiteral("cmdStart"), Text("start"), this)),
      close_(Button(QStringLiteral("cmdClose"), Text("close"), this)) {
    setObjectName(QStringLiteral("frmFleet"));
    setWindowTitle(Text("title"));
    if (!makeLink_) {
        makeLink_ = [&links, this](const std::string& port) {
            return links.LinkFor(port, timers_);
        };
    }
    if (!directory_) directory_ = std::make_unique<QtPortDirectory>();

    auto* radiosLabel = new QLabel(Text("radios"), this);
    radiosLabel->setBuddy(table_);
    table_->setObjectName(QStringLiteral("tblRadios"));
    table_->setAccessibleName(Text("radios").remove(QLatin1Char('&')));
    table_->setHorizontalHeaderLabels({Text("colport"), Text("collabel"), Text("colselfid"),
                                       Text("colprogress"), Text("colstage"), Text("colresult"),
                                       Text("coltime"), Text("colbackup")});
    table_->verticalHeader()->hide();
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setTabKeyNavigation(false);  // Tab leaves the table for the fields below
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    QHeaderView* header = table_->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(kResult, QHeaderView::Stretch);
    header->setMinimumSectionSize(70);

    selfIdStart_->setObjectName(QStringLiteral("txtSelfIdStart"));
    selfIdStart_->setAccessibleName(Text("selfidstart").remove(QLatin1Char('&')));
    selfIdStart_->setMaxLength(static_cast<int>(kSelfIdLength));
    selfIdStart_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    auto* selfIdLabel = new QLabel(Text("selfidstart"), this);
    selfIdLabel->setBuddy(selfIdStart_);
    password_->setObjectName(QStringLiteral("txtPassword"));
    password_->setAccessibleName(Text("password").remove(QLatin1Char('&')));
    password_->setEchoMode(QLineEdit::Password);
    auto* passwordLabel = new QLabel(Text("password"), this);
    passwordLabel->setBuddy(password_);

    const TransferOptions& choices = session_.transferChoices;
    backupFirst_->setObjectName(QStringLiteral("chkBackupFirst"));
    backupFirst_->setChecked(choices.backupFirst);
    verify_->setObjectName(QStringLiteral("chkVerify"));
    verify_->setChecked(choices.verify);
    status_->setObjectName(QStringLiteral("lblStatus"));
    status_->setWordWrap(true);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A line kept free, so that the table does not jump when a line appears.
    status_->setMinimumHeight(status_->fontMetrics().height());

    auto* fields = new QGridLayout;
    fields->addWidget(selfIdLabel, 0, 0);
    fields->addWidget(selfIdStart_, 0, 1);
    fields->addWidget(passwordLabel, 0, 2);
    fields->addWidget(password_, 0, 3);
    fields->addWidget(backupFirst_, 1, 0, 1, 2);
    fields->addWidget(verify_, 1, 2, 1, 2);
    fields->setColumnStretch(4, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(refresh_);
    buttons->addStretch();
    buttons->addWidget(start_);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(radiosLabel);
    layout->addWidget(table_, 1);
    layout->addLayout(fields);
    layout->addWidget(status_);
    layout->addLayout(buttons);
    ChainTabOrder(
        {table_, selfIdStart_, password_, backupFirst_, verify_, refresh_, start_, close_});

    connect(table_, &QTableWidget::itemChanged, this, &FleetWindow::OnItemChanged);
    connect(selfIdStart_, &QLineEdit::textChanged, this, [this] { ShowRunState(); });
    connect(refresh_, &QPushButton::clicked, this, &FleetWindow::FillPorts);
    connect(start_, &QPushButton::clicked, this, &FleetWindow::OnStartStop);
    connect(close_, &QPushButton::clicked, this, &FleetWindow::reject);

    FillPorts();
    resize(960, 440);
    table_->setFocus();
}

FleetWindow::~FleetWindow() {
    // What a write reports while it is taken apart is no more shown.
    if (fleet_) fleet_->SetOnChange(nullptr);
}

QString FleetWindow::Text(const char* key) const {
    return ToQString(texts_.LanguageText("Fleet", key));
}

void FleetWindow::FillPorts() {
    if (running_) return;
    struct Kept {
        bool checked;
        QString label;
    };
    std::map<std::string, Kept> kept;
    for (int row = 0; row < table_->rowCount(); ++row) {
        const QTableWidgetItem* port = table_->item(row, kPort);
        const QTableWidgetItem* label = table_->item(row, kLabel);
        kept[ToStdString(port->text())] = {
            port->checkState() == Qt::Checked,
            label->data(kTypedRole).toBool() ? label->text() : QString()};
    }
    std::vector<std::string> ports = directory_->PortNames();
    // A path typed in the port dialog is no device the directory finds.
    for (const std::string& port : {session_.portName, std::string(kSimPortName)}) {
        if (!port.empty() && std::find(ports.begin(), ports.end(), port) == ports.end())
            ports.push_back(port);
    }
    // The simulated radio comes last, as in the port dialog.
    std::stable_partition(ports.begin(), ports.end(),
                          [](const std::string& port) { return port != kSimPortName; });

    filling_ = true;
    table_->setRowCount(0);
    table_->setRowCount(static_cast<int>(ports.size()));
    for (int row = 0; row < table_->rowCount(); ++row) {
        const std::string& name = ports[static_cast<std::size_t>(row)];
        const auto found = kept.find(name);
        auto* port = ReadOnlyItem();
        port->setText(ToQString(name));
        port->setFlags(port->flags() | Qt::ItemIsUserCheckable);
        port->setCheckState(found != kept.end() && found->second.checked ? Qt::Checked
                                                                         : Qt::Unchecked);
        table_->setItem(row, kPort, port);
        auto* label = new QTableWidgetItem;
        label->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
        if (found != kept.end() && !found->second.label.isEmpty()) {
            label->setText(found->second.label);
            label->setData(kTypedRole, true);
        } else {
            label->setText(DefaultLabel(row));
        }
        table_->setItem(row, kLabel, label);
        for (const int column : {kSelfId, kStage, kResult, kTime, kBackup})
            table_->setItem(row, column, ReadOnlyItem());
        auto* bar = new QProgressBar;
        bar->setRange(0, 100);
        bar->setValue(0);
        bar->setAccessibleName(Text("colprogress"));
        table_->setCellWidget(row, kProgress, bar);
    }
    filling_ = false;
    rows_.clear();
    if (table_->rowCount() > 0 && !table_->currentIndex().isValid())
        table_->setCurrentCell(0, kPort);
    ShowRunState();
}

void FleetWindow::OnItemChanged(QTableWidgetItem* item) {
    if (filling_) return;
    if (item->column() == kLabel) {
        filling_ = true;
        item->setData(kTypedRole, true);
        filling_ = false;
    }
    if (item->column() == kPort) ShowRunState();
}

bool FleetWindow::ShowSelfIds() {
    std::vector<int> checked;
    for (int row = 0; row < table_->rowCount(); ++row) {
        if (table_->item(row, kPort)->checkState() == Qt::Checked) checked.push_back(row);
    }
    const QString start = selfIdStart_->text();
    std::vector<std::string> ids;
    bool numbered = true;
    if (start.isEmpty()) {
        ids.assign(checked.size(), doc_.codeplug().signalling.fiveTone.selfId);
    } else {
        SelfIdNumbering numbering = NumberSelfIds(ToStdString(start), checked.size());
        numbered = numbering.error.empty();
        ids = std::move(numbering.ids);
    }
    filling_ = true;
    for (int row = 0; row < table_->rowCount(); ++row) table_->item(row, kSelfId)->setText({});
    for (std::size_t i = 0; i < checked.size() && i < ids.size(); ++i)
        table_->item(checked[i], kSelfId)->setText(ToQString(ids[i]));
    filling_ = false;
    if (!numbered) status_->setText(Text("selfidbad"));
    return numbered;
}

void FleetWindow::ShowRunState() {
    bool anyChecked = false;
    for (int row = 0; row < table_->rowCount(); ++row)
        anyChecked = anyChecked || table_->item(row, kPort)->checkState() == Qt::Checked;
    if (running_) {
        start_->setText(Text("stop"));
        start_->setEnabled(!stopping_);
    } else {
        start_->setText(Text("start"));
        const bool numbered = ShowSelfIds();
        start_->setEnabled(anyChecked && numbered);
        if (numbered && status_->text() == Text("selfidbad")) status_->clear();
    }
    close_->setEnabled(!running_);
    refresh_->setEnabled(!running_);
    for (QWidget* field :
         std::initializer_list<QWidget*>{selfIdStart_, password_, backupFirst_, verify_})
        field->setEnabled(!running_);
    // While writing, the checks and labels stay as they were started with.
    table_->setEditTriggers(running_ ? QAbstractItemView::NoEditTriggers
                                     : QAbstractItemView::DoubleClicked |
                                           QAbstractItemView::EditKeyPressed |
                                           QAbstractItemView::AnyKeyPressed);
    filling_ = true;
    for (int row = 0; row < table_->rowCount(); ++row) {
        QTableWidgetItem* port = table_->item(row, kPort);
        port->setFlags(running_ ? port->flags() & ~Qt::ItemIsUserCheckable
                                : port->flags() | Qt::ItemIsUserCheckable);
    }
    filling_ = false;
}

void FleetWindow::OnStartStop() {
    if (running_) {
        stopping_ = true;
        fleet_->Stop();
        ShowRunState();
        return;
    }
    Start();
}

void FleetWindow::Start() {
    if (!ShowSelfIds()) return;
    std::vector<FleetRadio> radios;
    std::vector<int> rows;
    for (int row = 0; row < table_->rowCount(); ++row) {
        if (table_->item(row, kPort)->checkState() != Qt::Checked) continue;
        rows.push_back(row);
        // An empty start field leaves each radio the project's own self ID.
        radios.push_back({ToStdString(table_->item(row, kPort)->text()),
                          ToStdString(table_->item(row, kLabel)->text().trimmed()),
                          selfIdStart_->text().isEmpty()
                              ? std::string()
                              : ToStdString(table_->item(row, kSelfId)->text())});
    }
    if (radios.empty()) return;
    FleetPlan plan = CheckFleet(std::move(radios));
    if (!plan.error.empty()) {
        status_->setText(ToQString(plan.error));
        return;
    }

    // The boxes count from this start on and are remembered.
    TransferOptions& choices = session_.transferChoices;
    choices.verify = verify_->isChecked();
    choices.backupFirst = backupFirst_->isChecked();
    WriteTransferChoices(session_.paths, choices);
    FleetSetup setup{.options = choices,
                     .password = password_->text().isEmpty()
                                     ? std::nullopt
                                     : std::optional<std::string>(ToStdString(password_->text())),
                     .backupDir = session_.paths.backupDir,
                     .portSettings = session_.portSettings,
                     .features = session_.featureFlags};

    if (fleet_) fleet_->SetOnChange(nullptr);
    fleet_.reset();
    fleet_ = std::make_unique<FleetWrite>(doc_.codeplug(), std::move(plan.radios), texts_,
                                          std::move(setup), makeLink_, timers_);
    rows_ = std::move(rows);
    filling_ = true;
    for (int row = 0; row < table_->rowCount(); ++row) {
        for (const int column : {kStage, kResult, kTime, kBackup})
            table_->item(row, column)->setText({});
        static_cast<QProgressBar*>(table_->cellWidget(row, kProgress))->setValue(0);
    }
    filling_ = false;
    for (std::size_t i = 0; i < rows_.size(); ++i) ShowRadio(i);
    status_->clear();
    running_ = true;
    stopping_ = false;
    ShowRunState();
    fleet_->SetOnChange([this](std::size_t index) {
        ShowRadio(index);
        if (running_ && fleet_->Over()) Finish();
    });
    fleet_->Start();
    // Every radio may have failed at once.
    if (running_ && fleet_->Over()) Finish();
}

void FleetWindow::ShowRadio(std::size_t index) {
    const FleetRadioState& radio = fleet_->Radios()[index];
    const int row = rows_[index];
    QString stage;
    switch (radio.stage) {
        case FleetStage::Waiting:
            stage = Text("stagewaiting");
            break;
        case FleetStage::Checking:
            stage = Text(session_.transferChoices.backupFirst ? "stagebackup" : "stagechecking");
            break;
        case FleetStage::Writing:
            stage = Text("stagewriting");
            break;
        case FleetStage::Verifying:
            stage = Text("stageverifying");
            break;
        case FleetStage::Succeeded:
            stage = Text("stagedone");
            break;
        case FleetStage::Failed:
            stage = Text("stagefailed");
            break;
    }
    const bool over = radio.Ended();
    QString result;
    if (radio.stage == FleetStage::Succeeded) {
        result = Text("resultok");
    } else if (radio.stage == FleetStage::Failed) {
        result = ToQString(radio.message);
    }
    filling_ = true;
    table_->item(row, kSelfId)->setText(ToQString(radio.selfId));
    table_->item(row, kStage)->setText(stage);
    table_->item(row, kResult)->setText(result);
    table_->item(row, kResult)->setToolTip(result);
    table_->item(row, kTime)
        ->setText(over ? Text("seconds").arg(ToQString(FormatScaled(radio.time.count() / 100, 1)))
                       : QString());
    table_->item(row, kBackup)->setText(ToQString(radio.backupPath));
    table_->item(row, kBackup)->setToolTip(ToQString(radio.backupPath));
    filling_ = false;
    static_cast<QProgressBar*>(table_->cellWidget(row, kProgress))->setValue(radio.percent);
}

void FleetWindow::Finish() {
    running_ = false;
    stopping_ = false;
    const std::vector<FleetRadioState>& radios = fleet_->Radios();
    const std::vector<std::string> redo = RadiosToRedo(radios);
    QString line = Text("summary").arg(radios.size() - redo.size()).arg(radios.size());
    if (!redo.empty()) {
        QStringList names;
        for (const std::string& radio : redo) names << ToQString(radio);
        line += QLatin1Char(' ') + Text("redo").arg(names.join(QStringLiteral(", ")));
    }
    ShowRunState();
    status_->setText(line);
}

void FleetWindow::reject() {
    if (running_) return;
    QDialog::reject();
}

void FleetWindow::closeEvent(QCloseEvent* event) {
    if (running_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

}  // namespace qx
