#include "app/ui/3DModelView.h"

#include "platform/elements/ZuSubsystemTable.h"
#include "platform/modeldb/3DModelDoc.h"
#include "platform/modeldb/ModelData.h"
#include "platform/modeldb/ModelSubsystem.h"

#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
int KindOf(const CModelData* model)
{
    return model && model->GetFileKind() == CModelData::FILE_KIND_XML ? 1 : 0;
}

QColor ToQColor(const CModelSubsystem::Color& c)
{
    return QColor::fromRgbF(std::clamp(c[0], 0.0f, 1.0f), std::clamp(c[1], 0.0f, 1.0f), std::clamp(c[2], 0.0f, 1.0f));
}

// The set the analyses use (number 1), else the first one.
CModelSubsystemSet* ShownSet(const CModelData* model)
{
    if (!model)
        return nullptr;
    if (CModelSubsystemSet* set = model->GetSubsystemSet(1))
        return set;
    return model->GetSubsystemSetAt(0);
}
} // namespace

C3DModelView::C3DModelView(CModelData* model, ConnectionTest connected, QWidget* parent)
    : QWidget(parent), m_kind(KindOf(model))
{
    setObjectName(QStringLiteral("ModelView"));
    m_doc = m_kind == 1 ? std::make_unique<C3DModelDoc2>(model) : std::make_unique<C3DModelDoc>(model);
    m_viewId = m_doc->AddView([this] { update(); });
    setWindowTitle(QString::fromStdString(model && !model->GetTitle().empty() ? model->GetTitle() : "Model View"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);

    // Structures first (the outer ring), then the acoustic spaces.
    if (CModelSubsystemSet* set = ShownSet(model)) {
        for (int pass = 0; pass < 2; ++pass)
            for (int i = 0; i < set->GetCount(); ++i)
                if (CModelSubsystem* s = set->GetAt(i); s && s->IsAcoustic() == (pass == 1))
                    m_subsystems.push_back(s);
    }
    if (connected)
        for (size_t a = 0; a < m_subsystems.size(); ++a)
            for (size_t b = a + 1; b < m_subsystems.size(); ++b)
                if (connected(m_subsystems[a]->GetName(), m_subsystems[b]->GetName()) ||
                    connected(m_subsystems[b]->GetName(), m_subsystems[a]->GetName()))
                    m_connections.emplace_back(static_cast<int>(a), static_cast<int>(b));
}

C3DModelView::~C3DModelView()
{
    m_doc->RemoveView(m_viewId);
}

const void* C3DModelView::KindKey(int kind)
{
    static const char keys[2] = {0, 0};
    return kind == 0 || kind == 1 ? &keys[kind] : nullptr;
}

void C3DModelView::CloseKind(int kind)
{
    // Gone at once, with its sub-window.
    QWidget* open = Instances().Release(KindKey(kind));
    if (!open)
        return;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(open->parentWidget()))
        delete sub;
    else
        delete open;
}

void C3DModelView::CloseAll()
{
    for (int kind : {0, 1})
        CloseKind(kind);
}

C3DModelView* C3DModelView::ShowInstance(QMdiArea* area, CModelData* model, ConnectionTest connected)
{
    if (!model)
        return nullptr;
    const int kind = KindOf(model);
    CloseKind(kind);
    auto* view = new C3DModelView(model, std::move(connected));
    Instances().Register(KindKey(kind), view);
    if (area) {
        QMdiSubWindow* sub = area->addSubWindow(view);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->resize(view->sizeHint());
        sub->show();
        area->setActiveSubWindow(sub);
    } else {
        view->setAttribute(Qt::WA_DeleteOnClose);
        view->show();
    }
    return view;
}

QSizeF C3DModelView::ItemSize() const
{
    EnsureLayout();
    return m_itemSize;
}

QPointF C3DModelView::ItemCentre(int index) const
{
    EnsureLayout();
    return m_centres[static_cast<size_t>(index)];
}

void C3DModelView::EnsureLayout() const
{
    if (m_layoutValid && m_layoutSize == size())
        return;
    m_layoutSize = size();
    m_layoutValid = true;

    const QFontMetrics fm(font());
    int widest = fm.horizontalAdvance(QStringLiteral("Subsystem"));
    for (const CModelSubsystem* s : m_subsystems)
        widest = std::max(widest, fm.horizontalAdvance(QString::fromStdString(s->GetName())));
    m_itemSize = QSizeF(widest + 16.0, fm.height() + 12.0);

    int structures = 0;
    for (const CModelSubsystem* s : m_subsystems)
        structures += s->IsAcoustic() ? 0 : 1;
    const int acoustic = static_cast<int>(m_subsystems.size()) - structures;
    const double rx = std::max(10.0, width() / 2.0 - m_itemSize.width() / 2.0 - 8.0);
    const double ry = std::max(10.0, height() / 2.0 - m_itemSize.height() / 2.0 - 8.0);
    const QPointF centre(width() / 2.0, height() / 2.0);
    auto onRing = [&](int k, int count, double scale) {
        const double angle = -std::numbers::pi / 2 + 2.0 * std::numbers::pi * k / std::max(1, count);
        return centre + QPointF(rx * scale * std::cos(angle), ry * scale * std::sin(angle));
    };
    // The acoustic spaces sit on an inner ring (or alone in the middle). The ring opens out from
    // its usual size until neighbours no longer cover each other, as far as it can stay inside.
    double inner = structures > 0 ? 0.45 : 0.8;
    const double gap = 6.0;
    auto covers = [&](QPointF a, QPointF b) {
        const QPointF d = a - b;
        return std::abs(d.x()) < m_itemSize.width() + gap && std::abs(d.y()) < m_itemSize.height() + gap;
    };
    // How many items an acoustic ring of this size covers: its neighbours on the ring and the
    // structures on the outer one.
    auto overlaps = [&](double scale) {
        int count = 0;
        const int pairs = acoustic == 2 ? 1 : acoustic;
        for (int k = 0; k < pairs; ++k)
            count += covers(onRing(k, acoustic, scale), onRing((k + 1) % acoustic, acoustic, scale)) ? 1 : 0;
        for (int k = 0; k < acoustic; ++k)
            for (int n = 0; n < structures; ++n)
                count += covers(onRing(k, acoustic, scale), onRing(n, structures, 1.0)) ? 1 : 0;
        return count;
    };
    if (acoustic > 1) {
        int fewest = overlaps(inner);
        for (double scale = inner + 0.05; fewest > 0 && scale <= 0.8 + 1e-9; scale += 0.05) {
            const int count = overlaps(scale);
            if (count < fewest) {
                fewest = count;
                inner = scale;
            }
        }
    }

    m_centres.clear();
    m_centres.reserve(m_subsystems.size());
    for (int i = 0; i < static_cast<int>(m_subsystems.size()); ++i) {
        const bool isAcoustic = m_subsystems[static_cast<size_t>(i)]->IsAcoustic();
        if (isAcoustic && acoustic <= 1)
            m_centres.push_back(centre);
        else if (isAcoustic)
            m_centres.push_back(onRing(i - structures, acoustic, inner));
        else
            m_centres.push_back(onRing(i, structures, 1.0));
    }
}

void C3DModelView::changeEvent(QEvent* event)
{
    // A new font changes the items' size.
    if (event->type() == QEvent::FontChange)
        m_layoutValid = false;
    QWidget::changeEvent(event);
}

QRectF C3DModelView::ItemRect(int index) const
{
    const QSizeF size = ItemSize();
    const QPointF c = ItemCentre(index);
    return {c.x() - size.width() / 2, c.y() - size.height() / 2, size.width(), size.height()};
}

int C3DModelView::HitTest(const QPoint& point) const
{
    // The last drawn lies on top.
    for (int i = static_cast<int>(m_subsystems.size()) - 1; i >= 0; --i)
        if (ItemRect(i).contains(point))
            return i;
    return -1;
}

void C3DModelView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Base));
    p.setRenderHint(QPainter::Antialiasing);
    if (m_subsystems.empty()) {
        p.setPen(palette().color(QPalette::Text));
        p.drawText(rect(), Qt::AlignCenter, tr("The model has no subsystems."));
        return;
    }
    p.setPen(QPen(QColor(110, 110, 110), 1.2));
    for (const auto& [a, b] : m_connections)
        p.drawLine(ItemCentre(a), ItemCentre(b));
    const QColor selection = palette().color(QPalette::Highlight);
    for (int i = 0; i < static_cast<int>(m_subsystems.size()); ++i) {
        const CModelSubsystem* s = m_subsystems[static_cast<size_t>(i)];
        const QRectF r = ItemRect(i);
        const bool selected = m_doc->IsSelected(s->GetName());
        const QColor fill = ToQColor(s->GetColor());
        p.setBrush(fill);
        p.setPen(selected ? QPen(selection, 3.0) : QPen(QColor(60, 60, 60), s->IsMarked() ? 2.0 : 1.0));
        // Shells are square-cornered panels, acoustic spaces rounded.
        if (s->IsAcoustic())
            p.drawRoundedRect(r, r.height() / 2, r.height() / 2);
        else
            p.drawRect(r);
        p.setPen(fill.lightnessF() < 0.45 ? Qt::white : Qt::black);
        p.drawText(r, Qt::AlignCenter, QString::fromStdString(s->GetName()));
    }
}

void C3DModelView::mousePressEvent(QMouseEvent* event)
{
    const int hit = HitTest(event->position().toPoint());
    CZuSubsystemTable names;
    if (hit >= 0)
        names.Add(m_subsystems[static_cast<size_t>(hit)]->GetName());
    m_doc->SetSelection(names);
    m_doc->UpdateAllViews();
    QWidget::mousePressEvent(event);
}
