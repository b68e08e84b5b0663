// The "Hand Histories" page's controls, with their captions, names and sizes.
#include "app/Main.h"

#include "app/Controls.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <utility>

namespace {
QListWidget* FileList(const char* name)
{
    auto* list = Named(new QListWidget, name);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    QFont font(QStringLiteral("DejaVu Sans Mono"), 9);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    list->setFont(font);
    list->setUniformItemSizes(true);
    list->setStyleSheet(QStringLiteral("QListWidget::item { height: 15px; }"));
    list->setAccessibleName(QLatin1String(name));
    return list;
}
} // namespace

void TMainForm::BuildHandHistoryPage()
{
    HandHistoryPage = Named(new QWidget, "HandHistoryPage");
    auto* hh = new QGridLayout(HandHistoryPage);
    hh->setContentsMargins(6, 6, 6, PageBottomMargin);

    PageControl2 = Named(new QTabWidget, "PageControl2");
    PageControl2->setDocumentMode(true);
    PageControl2->setStyleSheet(QStringLiteral("QTabBar::tab { width: 175px; padding: 4px 0px; }"));

    LocalPage = Named(new QWidget, "LocalPage");
    auto* local = new QVBoxLayout(LocalPage);
    local->setContentsMargins(4, 4, 4, 4);
    LocalFolder = Named(new QLineEdit, "LocalFolder");
    LocalFolder->setReadOnly(true);
    LocalFolder->setBackgroundRole(QPalette::Window);
    LocalFolder->setStyleSheet(QStringLiteral("QLineEdit { background: palette(window); }"));
    auto* folderLabel = new QLabel(QStringLiteral("Folder"));
    folderLabel->setBuddy(LocalFolder);
    LFileLabel = Named(new QLabel(QStringLiteral("Files:  0")), "LFileLabel");
    LFileLabel->setAccessibleDescription(QStringLiteral("LFileLabel"));
    HHLocalList = FileList("HHLocalList");
    local->addWidget(folderLabel);
    local->addWidget(LocalFolder);
    local->addWidget(LFileLabel);
    local->addWidget(HHLocalList, 1);

    RemotePage = Named(new QWidget, "RemotePage");
    auto* remote = new QGridLayout(RemotePage);
    remote->setContentsMargins(4, 4, 4, 4);
    ServerIP = Named(new QLineEdit, "ServerIP");
    ServerIP->setFixedWidth(169);
    FilePort = Named(new QLineEdit, "FilePort");
    FilePort->setFixedWidth(50);
    APIPath = Named(new QLineEdit, "APIPath");
    APIPath->setFixedWidth(82);
    APIPW = Named(new QLineEdit, "APIPW");
    APIPW->setFixedWidth(113);
    APIPW->setEchoMode(QLineEdit::Password);
    // One "*" per character, whatever the platform's style would draw.
    APIPW->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    RememberPW = Named(new QCheckBox(QStringLiteral("Remember PW")), "RememberPW");
    // Labels on one row and fields on the next, so the four line up whatever
    // stands under one of them.
    auto* fields = new QGridLayout;
    fields->setVerticalSpacing(2);
    int column = 0;
    for (const auto& [caption, field] : {std::pair{QStringLiteral("Poker Server IP / Domain"), ServerIP},
                                         std::pair{QStringLiteral("File Port"), FilePort},
                                         std::pair{QStringLiteral("API Path"), APIPath},
                                         std::pair{QStringLiteral("API Password"), APIPW}}) {
        auto* label = new QLabel(caption);
        label->setBuddy(field);
        fields->addWidget(label, 0, column);
        fields->addWidget(field, 1, column++);
    }
    fields->addWidget(RememberPW, 2, column - 1);
    fields->setColumnStretch(column, 1);
    RFileLabel = Named(new QLabel(QStringLiteral("Files:  0")), "RFileLabel");
    RFileLabel->setAccessibleDescription(QStringLiteral("RFileLabel"));
    HHRemoteList = FileList("HHRemoteList");
    remote->addLayout(fields, 0, 0);
    remote->addWidget(RFileLabel, 1, 0);
    remote->addWidget(HHRemoteList, 2, 0);
    remote->setRowStretch(2, 1);

    PageControl2->addTab(LocalPage, QStringLiteral("Local Hand History Files"));
    PageControl2->addTab(RemotePage, QStringLiteral("Remote Hand History Files"));

    RefreshBtn = MakeButton(QStringLiteral("Get Hand History List"), "RefreshBtn", 146, 38);
    LoadHHBtn = MakeButton(QStringLiteral("View Selected File"), "LoadHHBtn", 146, 38);
    SelectAllBtn = MakeButton(QStringLiteral("Select All Files"), "SelectAllBtn", 146, 38);
    ImportBtn = MakeButton(QStringLiteral("Import Selected Files"), "ImportBtn", 146, 38);
    auto* buttons = new QVBoxLayout;
    buttons->setContentsMargins(0, 24, 0, 0);
    buttons->setSpacing(10);
    for (auto* b : {RefreshBtn, LoadHHBtn, SelectAllBtn, ImportBtn})
        buttons->addWidget(b);
    buttons->addStretch(1);

    ShowRing = Named(new QRadioButton(QStringLiteral("Show Ring Games")), "ShowRing");
    ShowTrny = Named(new QRadioButton(QStringLiteral("Show Tournaments")), "ShowTrny");
    ShowBoth = Named(new QRadioButton(QStringLiteral("Show Both")), "ShowBoth");
    ShowRing->setChecked(true);
    auto* filters = new QHBoxLayout;
    filters->addWidget(ShowRing);
    filters->addSpacing(12);
    filters->addWidget(ShowTrny);
    filters->addSpacing(12);
    filters->addWidget(ShowBoth);
    filters->addStretch(1);

    HHStatus = MakeStatusLine("HHStatus");
    hh->addWidget(PageControl2, 0, 0);
    hh->addLayout(buttons, 0, 1);
    hh->addLayout(filters, 1, 0, 1, 2);
    hh->addWidget(HHStatus, 2, 0, 1, 2);
    hh->setRowStretch(0, 1);
    hh->setColumnStretch(0, 1);
}
