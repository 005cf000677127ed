#include "CSettingsDlg.h"

#include "option_text.h"

#include "CCoreNames.h"
#include "CFileChooser.h"
#include "CMessageBoxHost.h"
#include "CSourcePreview.h"
#include "QtText.h"
#include "dialog_texts.h"
#include "question_text.h"
#include "source_layout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace {

namespace texts = velkaro::dialog;
using velkaro::dialog::OutputPlace;
using velkaro::dialog::WindowSettings;

template <typename Control> [[nodiscard]] Control *named(Control *control, const char *name) {
    control->setObjectName(QLatin1String(name));
    return control;
}

} // namespace

CSettingsDlg::CSettingsDlg(const WindowSettings &settings, const std::string &sourcePath,
                           CFileChooser &fileChooser, CMessageBox &messageBox, QWidget *parent)
    : QDialog(parent), m_fileChooser(fileChooser), m_messageBox(messageBox),
      m_lastFolder(settings.lastFolder), m_codePage(named(new QComboBox, "codePage")),
      m_axes(named(new QComboBox, "axes")),
      m_labels(named(new QCheckBox(qtText(texts::kLabelsText)), "labels")),
      m_labelHeight(named(new QLineEdit, "labelHeight")),
      m_labelDecimals(named(new QSpinBox, "labelDecimals")),
      m_cassColumns(named(new QComboBox, "cassColumns")),
      m_skipJunk(named(new QCheckBox(qtText(texts::kSkipJunkText)), "skipJunk")),
      m_summary(named(new QCheckBox(qtText(texts::kSummaryText)), "summary")),
      m_besideSource(named(new QRadioButton(qtText(texts::kBesideSourceItem)), "besideSource")),
      m_folder(named(new QRadioButton(qtText(texts::kFolderItem)), "folder")),
      m_folderName(named(new QLineEdit, "folderName")),
      m_chooseFolder(named(new QPushButton(qtText(texts::kChooseFolderText)), "chooseFolder")),
      m_defaults(named(new QPushButton(qtText(texts::kDefaultsText)), "defaults")),
      m_layout(named(new QComboBox, "sourceLayout")), m_roles(named(new QLineEdit, "sourceRoles")),
      m_encoding(named(new QComboBox, "sourceEncoding")), m_crs(named(new QComboBox, "crs")),
      m_preview(named(new CSourcePreview(sourcePath), "preview")) {
    setObjectName(QStringLiteral("settingsDlg"));
    setWindowTitle(qtText(texts::kSettingsTitle));
    buildForm();
    buildButtons();
    showSettings(settings);
}

void CSettingsDlg::buildForm() {
    m_codePage->addItem(qtText(texts::kNoCodePageItem), 0);
    for (const int codePage : texts::offeredCodePages()) {
        if (codePage != 0) {
            m_codePage->addItem(QString::number(codePage), codePage);
        }
    }
    m_axes->addItems({qtText(texts::kAxesXyItem), qtText(texts::kAxesEnItem)});
    m_cassColumns->addItems({qtText(texts::kCassCodeItem), qtText(texts::kCassNameItem)});
    m_labelDecimals->setRange(0, velkaro::kMaxElevationDecimals);
    m_folderName->setReadOnly(true);
    m_folderName->setAccessibleName(qtText(texts::kFolderItem));
    auto *const folderRow = new QHBoxLayout;
    folderRow->addWidget(m_folder);
    folderRow->addWidget(m_folderName, 1);
    folderRow->addWidget(m_chooseFolder);
    auto *const form = new QFormLayout;
    form->addRow(qtText(texts::kCodePageCaption), m_codePage);
    form->addRow(qtText(texts::kAxesCaption), m_axes);
    form->addRow(m_labels);
    form->addRow(qtText(texts::kLabelHeightCaption), m_labelHeight);
    form->addRow(qtText(texts::kLabelDecimalsCaption), m_labelDecimals);
    form->addRow(qtText(texts::kCassColumnsCaption), m_cassColumns);
    form->addRow(m_skipJunk);
    form->addRow(m_summary);
    form->addRow(qtText(texts::kOutputCaption), m_besideSource);
    form->addRow(QString(), folderRow);
    buildSourceRows(*form);
    buildCrsRow(*form);
    auto *const columns = new QHBoxLayout;
    columns->addLayout(form);
    columns->addWidget(m_preview, 1);
    auto *const layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    connect(m_labels, &QCheckBox::toggled, this, &CSettingsDlg::enableDependents);
    connect(m_folder, &QRadioButton::toggled, this, &CSettingsDlg::enableDependents);
    connect(m_chooseFolder, &QPushButton::clicked, this, &CSettingsDlg::OnChooseFolder);
}

// The converter's --source-layout and --source-encoding; each item carries the option's value,
// the custom one takes the roles typed beside it.
void CSettingsDlg::buildSourceRows(QFormLayout &form) {
    m_layout->addItem(qtText(texts::kLayoutRtkItem), QStringLiteral("rtk"));
    m_layout->addItem(qtText(texts::kLayoutAutoItem), QStringLiteral("auto"));
    m_layout->addItem(qtText(texts::kLayoutCassItem), QStringLiteral("cass"));
    m_layout->addItem(qtText(texts::kLayoutPnezdItem), QStringLiteral("pnezd"));
    m_layout->addItem(qtText(texts::kLayoutPenzdItem), QStringLiteral("penzd"));
    m_layout->addItem(qtText(texts::kLayoutCustomItem), QString());
    m_roles->setPlaceholderText(QStringLiteral("name,code,y,x,z"));
    m_roles->setAccessibleName(qtText(texts::kCustomRolesName));
    m_encoding->addItem(qtText(texts::kEncodingAutoItem), QString());
    m_encoding->addItem(qtText(texts::kEncodingGbkItem), QStringLiteral("gbk"));
    m_encoding->addItem(qtText(texts::kEncodingUtf8Item), QStringLiteral("utf-8"));
    form.addRow(qtText(texts::kSourceLayoutCaption), m_layout);
    form.addRow(qtText(texts::kLayoutCustomItem), m_roles);
    form.addRow(qtText(texts::kSourceEncodingCaption), m_encoding);
    connect(m_layout, &QComboBox::currentIndexChanged, this, &CSettingsDlg::enableDependents);
    connect(m_layout, &QComboBox::currentIndexChanged, this, &CSettingsDlg::updatePreview);
    connect(m_roles, &QLineEdit::textChanged, this, &CSettingsDlg::updatePreview);
    connect(m_encoding, &QComboBox::currentIndexChanged, this, &CSettingsDlg::updatePreview);
}

// The converter's --crs for the GIS formats; each item carries the value the settings store.
void CSettingsDlg::buildCrsRow(QFormLayout &form) {
    for (const texts::CrsItem &item : texts::offeredCrsItems()) {
        m_crs->addItem(qtText(item.text), qtText(item.value));
    }
    m_crs->setMaxVisibleItems(20);
    form.addRow(qtText(texts::kCrsCaption), m_crs);
}

void CSettingsDlg::buildButtons() {
    auto *const buttons = new QDialogButtonBox;
    QPushButton *const ok =
        buttons->addButton(qtText(texts::kOkText), QDialogButtonBox::AcceptRole);
    buttons->addButton(qtText(velkaro::wording::cancelText()), QDialogButtonBox::RejectRole);
    buttons->addButton(m_defaults, QDialogButtonBox::ResetRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSettingsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSettingsDlg::reject);
    connect(m_defaults, &QPushButton::clicked, this, &CSettingsDlg::OnDefaults);
    layout()->addWidget(buttons);
}

void CSettingsDlg::showSettings(const WindowSettings &settings) {
    const velkaro::ConversionOptions &options = settings.options;
    m_codePage->setCurrentIndex(std::max(0, m_codePage->findData(options.dxfCodePage.value_or(0))));
    m_axes->setCurrentIndex(options.dxfAxes == velkaro::DxfAxes::En ? 1 : 0);
    const velkaro::DxfLabels labels = options.dxfLabels.value_or(velkaro::DxfLabels{});
    m_labels->setChecked(options.dxfLabels.has_value());
    m_labelHeight->setText(qtText(texts::labelHeightText(labels.height)));
    m_labelDecimals->setValue(labels.elevationDecimals);
    m_cassColumns->setCurrentIndex(options.cassColumns == velkaro::CassColumns::Name ? 1 : 0);
    m_skipJunk->setChecked(options.leaveOutLinesWithoutCoordinates);
    m_summary->setChecked(options.summary);
    m_outputFolder = settings.outputFolder;
    m_folderName->setText(qtText(CCoreNames::escaped(m_outputFolder)));
    (settings.outputPlace == OutputPlace::Folder ? m_folder : m_besideSource)->setChecked(true);
    showSourceReading(options.sourceReading);
    m_crs->setCurrentIndex(std::max(0, m_crs->findData(qtText(texts::crsValueText(options.crs)))));
    enableDependents();
    updatePreview();
}

// A list of roles that one of the named layouts has shows as that layout.
void CSettingsDlg::showSourceReading(const velkaro::SourceReading &reading) {
    const std::string layout = texts::sourceLayoutText(reading);
    int index = m_layout->findData(qtText(layout));
    for (const char *preset : {"cass", "pnezd", "penzd"}) {
        if (velkaro::rolesText(*velkaro::presetRoles(preset)) == layout) {
            index = m_layout->findData(QLatin1String(preset));
        }
    }
    if (index < 0) {
        index = m_layout->count() - 1;
        m_roles->setText(qtText(layout));
    }
    m_layout->setCurrentIndex(index);
    const QString encoding = qtText(texts::encodingText(reading.encoding));
    m_encoding->setCurrentIndex(std::max(0, m_encoding->findData(encoding)));
}

bool CSettingsDlg::customRoles() const {
    return m_layout->currentIndex() == m_layout->count() - 1;
}

std::string CSettingsDlg::layoutText() const {
    return (customRoles() ? m_roles->text() : m_layout->currentData().toString()).toStdString();
}

void CSettingsDlg::updatePreview() {
    if (customRoles() && !velkaro::parseRoles(layoutText())) {
        m_preview->showNote(texts::kCustomRolesInvalid);
        return;
    }
    m_preview->showReading(settings().options);
}

WindowSettings CSettingsDlg::settings() const {
    WindowSettings settings;
    velkaro::ConversionOptions &options = settings.options;
    if (const int codePage = m_codePage->currentData().toInt(); codePage != 0) {
        options.dxfCodePage = codePage;
    }
    options.dxfAxes = m_axes->currentIndex() == 1 ? velkaro::DxfAxes::En : velkaro::DxfAxes::Xy;
    if (m_labels->isChecked()) {
        const std::optional<double> height =
            texts::parseLabelHeight(m_labelHeight->text().toStdString());
        options.dxfLabels = velkaro::DxfLabels{height.value_or(velkaro::DxfLabels{}.height),
                                               m_labelDecimals->value()};
    }
    options.cassColumns = m_cassColumns->currentIndex() == 1 ? velkaro::CassColumns::Name
                                                             : velkaro::CassColumns::Code;
    options.leaveOutLinesWithoutCoordinates = m_skipJunk->isChecked();
    options.summary = m_summary->isChecked();
    options.sourceReading =
        texts::sourceReadingOf(layoutText(), m_encoding->currentData().toString().toStdString());
    options.crs = texts::crsChoiceOf(m_crs->currentData().toString().toStdString());
    settings.outputPlace = m_folder->isChecked() ? OutputPlace::Folder : OutputPlace::BesideSource;
    settings.outputFolder = m_outputFolder;
    settings.lastFolder = m_lastFolder;
    return settings;
}

void CSettingsDlg::accept() {
    if (m_labels->isChecked() && !texts::parseLabelHeight(m_labelHeight->text().toStdString())) {
        m_labelHeight->setFocus();
        complain(velkaro::wording::labelHeightRangeText(m_labelHeight->text().toStdString()));
        return;
    }
    if (customRoles() && !velkaro::parseRoles(layoutText())) {
        m_roles->setFocus();
        complain(texts::kCustomRolesInvalid);
        return;
    }
    if (m_folder->isChecked() && m_outputFolder.empty()) {
        complain(texts::kFolderMissing);
        return;
    }
    QDialog::accept();
}

void CSettingsDlg::complain(std::string_view text) {
    CMessageBoxHost(m_messageBox, this)
        .showMessage({std::string(text), {}, velkaro::dialog::MessageIcon::Exclamation});
}

// The defaults of the options and the outputs' place; the folder once chosen stays on display for
// a later 指定文件夹.
void CSettingsDlg::OnDefaults() {
    WindowSettings defaults;
    defaults.outputFolder = m_outputFolder;
    showSettings(defaults);
}

void CSettingsDlg::OnChooseFolder() {
    const QString start = QString::fromStdString(CCoreNames::decode(m_outputFolder));
    const QString folder = m_fileChooser.chooseFolder(this, start);
    if (folder.isEmpty()) {
        return;
    }
    m_outputFolder = CCoreNames::toCoreName(folder);
    m_folderName->setText(folder);
    m_folder->setChecked(true);
}

void CSettingsDlg::enableDependents() {
    m_labelHeight->setEnabled(m_labels->isChecked());
    m_labelDecimals->setEnabled(m_labels->isChecked());
    m_folderName->setEnabled(m_folder->isChecked());
    m_roles->setEnabled(customRoles());
}
