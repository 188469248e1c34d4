#pragma once
// Stands in for a page or tool window whose library is not part of the program yet: it
// names itself, so a screenshot shows which page would be there.

#include "pageapi/PageRegistry.h"

#include <QLabel>

class CPlaceholderPage : public CPageBase, public PageEq
{
public:
    CPlaceholderPage(PageKind kind, QWidget* parent);
    PageKind Kind() const override { return kind_; }
    void Refresh() override {}
    void Relabel() override;
    void SetOutputGroup(int group) override;
    // The EQ pages' stand-ins keep a bypass flag, so the status bar can be tried out.
    PageEq* Eq() override;
    bool EqBypass() const override { return bypass_; }
    void SetEqBypass(bool on) override { bypass_ = on; }
    void ResetEq() override {}
    void PickEqBand(int) override {}
    int Group() const { return group_; }

private:
    PageKind kind_;
    QLabel* title_;
    QLabel* note_;
    bool bypass_ = false;
    int group_ = -1;
};

class CPlaceholderTool : public CToolWindowBase
{
public:
    CPlaceholderTool(ToolKind kind, QWidget* parent);
    ToolKind Kind() const override { return kind_; }
    void Relabel() override;

private:
    ToolKind kind_;
    QLabel* note_;
};

// Page and window titles in the current language.
QString PageTitle(PageKind kind);
QString ToolTitle(ToolKind kind);
// The dialog resource id a tool window takes its language-table texts by.
int ToolDialogId(ToolKind kind);
