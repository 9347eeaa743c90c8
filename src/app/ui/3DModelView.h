#pragma once
// The model window: the subsystems of the vehicle model and their connections as a schematic
// (structures on the outer ring, acoustic spaces inside), drawn in the colours and with the
// selection that the model document holds. Dialogs that pick subsystems colour and select them
// through the open model documents; the window redraws when its document tells it to. A click on
// a subsystem selects it.
#include "platform/ui/SingleInstance.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class C3DModelDoc;
class CModelData;
class CModelSubsystem;
class QMdiArea;

class C3DModelView : public QWidget, public CSingleInstance<C3DModelView>
{
    Q_OBJECT
public:
    // Whether two subsystems are connected (by name); empty: no connections drawn.
    using ConnectionTest = std::function<bool(const std::string&, const std::string&)>;

    C3DModelView(CModelData* model, ConnectionTest connected, QWidget* parent = nullptr);
    ~C3DModelView() override;

    // Opens the window of the model's kind in the client area; the window of that kind that is
    // open already is closed first, so one model window per kind exists. Null without a model.
    static C3DModelView* ShowInstance(QMdiArea* area, CModelData* model, ConnectionTest connected);
    // The key of the window of a kind (0 the first kind, 1 the second) for GetInstance.
    static const void* KindKey(int kind);
    // Closes every open model window (the document that holds the models goes).
    static void CloseAll();

    C3DModelDoc* GetDocument() const { return m_doc.get(); }
    // The subsystems drawn, in drawing order, and the connections between them (index pairs).
    const std::vector<CModelSubsystem*>& Subsystems() const { return m_subsystems; }
    const std::vector<std::pair<int, int>>& Connections() const { return m_connections; }
    // The subsystem under a point of the widget; -1 for none.
    int HitTest(const QPoint& point) const;
    // Where a subsystem is drawn in a widget of the current size.
    QRectF ItemRect(int index) const;

    QSize sizeHint() const override { return {640, 480}; }
    QSize minimumSizeHint() const override { return {240, 180}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Closes the window of a kind at once.
    static void CloseKind(int kind);
    QPointF ItemCentre(int index) const;
    QSizeF ItemSize() const;
    // Places every subsystem for the widget's current size and font, once per size.
    void EnsureLayout() const;

    std::unique_ptr<C3DModelDoc> m_doc;
    std::vector<CModelSubsystem*> m_subsystems;
    std::vector<std::pair<int, int>> m_connections;
    int m_viewId = 0;
    int m_kind = 0;
    mutable bool m_layoutValid = false;
    mutable QSize m_layoutSize;
    mutable QSizeF m_itemSize;
    mutable std::vector<QPointF> m_centres;
};
