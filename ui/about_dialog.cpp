// SPDX-License-Identifier: MIT
#include "ui/about_dialog.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/accessibility.h"
#include "ui/dialog_look.h"
#include "ui/hyperlink.h"
#include "ui/web_addresses.h"

namespace {

QLabel* Text(const char* text, QWidget* parent, Qt::Alignment align = Qt::AlignLeft) {
  auto* label = new QLabel(QCoreApplication::translate("CAboutDlg", text), parent);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(align | Qt::AlignTop);
  return label;
}

CHyperLink* Link(const char* caption, const char* name, QWidget* parent) {
  auto* link = new CHyperLink(QString::fromUtf8(caption), parent);
  link->setObjectName(QString::fromLatin1(name));
  link->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  return link;
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  InstallAccessibleControls();
  setObjectName(QStringLiteral("aboutDialog"));
  setWindowTitle(tr("About VELMAR\u00AE 2 TMX"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setFont(DialogFont());

  auto* banner = new QLabel(this);
  banner->setPixmap(BannerPixmap(devicePixelRatioF()));
  banner->setAlignment(Qt::AlignHCenter);

  auto* step2 = Text(
      QT_TRANSLATE_NOOP(
          "CAboutDlg",
          "2. Select the top [...] button and browse to your VELMAR\u00AE TXT file. The TMX file "
          "name and               location will be automatically generated with the same name and "
          "location"),
      this);
  step2->setWordWrap(true);

  m_productLink = Link(kProductPage, "productLink", this);
  m_standardLink = Link(kTmxStandardPage, "standardLink", this);
  m_makerLink = Link(kMakerName, "makerLink", this);
  m_makerLink->SetURL(QString::fromUtf8(kMakerHomePage));

  auto* ok = new QPushButton(tr("OK"), this);
  ok->setObjectName(QStringLiteral("okButton"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  QLayout* visitRow = VisitRow();
  auto* okRow = new QHBoxLayout;
  okRow->addStretch(1);
  okRow->addWidget(ok);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(banner, 0, Qt::AlignHCenter);
  AddSteps(layout, step2);
  layout->addSpacing(6);
  layout->addLayout(visitRow);
  layout->addWidget(m_makerLink, 0, Qt::AlignHCenter);
  layout->addStretch(1);
  layout->addLayout(okRow);

  // Tab walks the links in reading order and ends on OK.
  setTabOrder(m_productLink, m_standardLink);
  setTabOrder(m_standardLink, m_makerLink);
  setTabOrder(m_makerLink, ok);
  const QSize templateSize = DialogUnitsToPixels(font(), 335, 212);
  step2->setMinimumWidth(templateSize.width() - 40);
  setFixedSize(templateSize.expandedTo(sizeHint()));
}

QLayout* CAboutDlg::VisitRow() {
  auto* visitRow = new QHBoxLayout;
  visitRow->addWidget(Text(QT_TRANSLATE_NOOP("CAboutDlg", "To find out more visit:"), this));
  visitRow->addWidget(m_productLink, 0, Qt::AlignHCenter);
  visitRow->addWidget(Text(QT_TRANSLATE_NOOP("CAboutDlg", "or"), this, Qt::AlignHCenter));
  visitRow->addWidget(m_standardLink, 0, Qt::AlignHCenter);
  visitRow->addStretch(1);
  return visitRow;
}

void CAboutDlg::AddSteps(QVBoxLayout* layout, QLabel* step2) {
  auto* howTo = new QLabel(tr("How to use VELMAR\u00AE 2 TMX:"), this);
  QFont bold = howTo->font();
  bold.setBold(true);
  howTo->setFont(bold);
  layout->addWidget(
      Text(QT_TRANSLATE_NOOP("CAboutDlg",
                             "Converts VELMAR\u00AE translation memories to TMX 1.4 format"),
           this, Qt::AlignHCenter));
  QLabel* version = Text("", this, Qt::AlignHCenter);
  version->setObjectName(QStringLiteral("versionLabel"));
  version->setText(tr("Version %1").arg(QStringLiteral(VELMAR_VERSION)));
  layout->addWidget(version);
  layout->addSpacing(6);
  layout->addWidget(howTo);
  layout->addWidget(Text(
      QT_TRANSLATE_NOOP(
          "CAboutDlg", "1. Export your VELMAR\u00AE translation memory to a VELMAR\u00AE TXT file"),
      this));
  layout->addWidget(step2);
  layout->addWidget(Text(
      QT_TRANSLATE_NOOP("CAboutDlg", "3. Click the Protect button to create the TMX file"), this));
  layout->addWidget(
      Text(QT_TRANSLATE_NOOP("CAboutDlg", "4. Your translation memory is now secure"), this));
}
