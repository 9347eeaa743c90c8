#pragma once
// The engine orders of an order-tracking calculation and its order-tracking value (the order
// band width).
#include "experiments/CalcOptions.h"
#include "platform/ui/ZuPropertyPage.h"

class QLineEdit;
class QListWidget;
class QPushButton;

class CPPageOrderTracking : public CZuPropertyPage
{
    Q_OBJECT
public:
    static constexpr int kTemplateId = 4052;
    static constexpr float kMinValue = 0.1f;
    static constexpr float kMaxValue = 1000.0f;

    CPPageOrderTracking();

    void SetCalcOptions(CCalcOptions* options) { m_pOptions = options; }
    void SetReadOnly(bool readOnly) { m_bReadOnly = readOnly; }
    const CCalcOptions& GetEditedOptions() const { return m_options; }

    void OnAdd();
    void OnDelete();

    QListWidget* OrderList() const { return m_list; }
    QLineEdit* ValueEdit() const { return m_value; }
    QPushButton* AddButton() const { return m_add; }
    QPushButton* DeleteButton() const { return m_delete; }

    bool OnKillActive() override;
    void OnOK() override;

protected:
    bool OnInitDialog() override;
    bool DoDataExchange(bool saveAndValidate) override;

private:
    void ShowCopy();

    CCalcOptions* m_pOptions = nullptr;
    CCalcOptions m_options;
    bool m_bReadOnly = false;
    bool m_filling = false;
    QListWidget* m_list;
    QLineEdit* m_value;
    QPushButton* m_add;
    QPushButton* m_delete;
};
