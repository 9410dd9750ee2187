// SPDX-License-Identifier: MIT
// CAboutDlg: the About box: the banner, how to use the tool, and three links (the maker's page
// on this tool, the TMX standard's page, the maker's home page).
#pragma once

#include <QDialog>

class CHyperLink;
class QLabel;
class QLayout;
class QVBoxLayout;

class CAboutDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(QWidget* parent = nullptr);

  CHyperLink* ProductLink() const { return m_productLink; }    // 1024
  CHyperLink* MakerLink() const { return m_makerLink; }        // 1021
  CHyperLink* StandardLink() const { return m_standardLink; }  // 1025

 private:
  // The "To find out more visit:" row with the two address links; the numbered steps.
  QLayout* VisitRow();
  void AddSteps(QVBoxLayout* layout, QLabel* step2);

  CHyperLink* m_productLink;
  CHyperLink* m_makerLink;
  CHyperLink* m_standardLink;
};
