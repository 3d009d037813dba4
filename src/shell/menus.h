// The main menu and the eight topic menus. A menu holds no state: each button shows one
// window through the registry.
#pragma once

#include <QString>

#include <vector>

#include "kit/form.h"

class QPushButton;

namespace kv {

struct MenuEntry {
    int button;           // n of Command<n>
    QString caption;
    QString opens;        // window kind shown by the button
};

class MenuWindow : public FormWindow {
    Q_OBJECT
public:
    // Builds the buttons of `entries` in one column, in the order given.
    MenuWindow(const QString& name, const QString& caption, std::vector<MenuEntry> entries, int buttonWidth);

    const std::vector<MenuEntry>& entries() const { return entries_; }

public slots:
    void Command1_Click() { open(1); }
    void Command2_Click() { open(2); }
    void Command3_Click() { open(3); }
    void Command4_Click() { open(4); }
    void Command5_Click() { open(5); }
    void Command6_Click() { open(6); }
    void Command7_Click() { open(7); }
    void Command8_Click() { open(8); }
    void Command9_Click() { open(9); }

protected:
    // For menus that place their buttons themselves: the entries without a column.
    MenuWindow(const QString& name, const QString& caption, std::vector<MenuEntry> entries);
    QPushButton* makeButton(const MenuEntry& e, QWidget* parent);
    // Tab order Command1, Command2, ... whatever the order on screen.
    void tabInNumberOrder();
    void open(int button);

private:
    std::vector<MenuEntry> entries_;
};

class frmMain : public MenuWindow {
    Q_OBJECT
public:
    frmMain();
public slots:
    void Form_Load();
};

class frmNeuronModel : public MenuWindow {
    Q_OBJECT
public:
    frmNeuronModel();
};

class frmNetworkStructure : public MenuWindow {
    Q_OBJECT
public:
    frmNetworkStructure();
};

class frmLearn : public MenuWindow {
    Q_OBJECT
public:
    frmLearn();
};

class frmMarkov : public MenuWindow {
    Q_OBJECT
public:
    frmMarkov();
};

class frmBoltzmannMachine : public MenuWindow {
    Q_OBJECT
public:
    frmBoltzmannMachine();
};

class frmslopemethod : public MenuWindow {
    Q_OBJECT
public:
    frmslopemethod();
};

class frmLinearSystem : public MenuWindow {
    Q_OBJECT
public:
    frmLinearSystem();
};

class frmSOMMain : public MenuWindow {
    Q_OBJECT
public:
    frmSOMMain();
};

}  // namespace kv
