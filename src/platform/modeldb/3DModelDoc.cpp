#include "platform/modeldb/3DModelDoc.h"

#include "platform/modeldb/ModelData.h"

#include <vector>

#include <algorithm>

namespace {
std::vector<C3DModelDoc*>& OpenDocuments()
{
    static std::vector<C3DModelDoc*> docs;
    return docs;
}
} // namespace

C3DModelDoc::C3DModelDoc(CModelData* model) : m_model(model)
{
    OpenDocuments().push_back(this);
}

C3DModelDoc::~C3DModelDoc()
{
    auto& docs = OpenDocuments();
    docs.erase(std::remove(docs.begin(), docs.end(), this), docs.end());
}

std::vector<C3DModelDoc*> C3DModelDoc::GetOpenDocuments()
{
    return OpenDocuments();
}

void C3DModelDoc::SelectInOpenDocuments(const CZuSubsystemTable& names)
{
    for (C3DModelDoc* doc : GetOpenDocuments()) {
        doc->ClearSelection();
        doc->SetSelection(names);
        doc->UpdateAllViews();
    }
}

void C3DModelDoc::SetModelData(CModelData* model)
{
    m_model = model;
    m_selection.Clear();
}

void C3DModelDoc::SetDefaultColors()
{
    if (m_model)
        m_model->ResetDisplay();
}

void C3DModelDoc::ClearSelection()
{
    m_selection.Clear();
}

int C3DModelDoc::SetSelection(const CZuSubsystemTable& names)
{
    m_selection.Clear();
    for (const std::string& name : names.Names())
        if (const CModelSubsystem* s = FindSubsystem(name))
            m_selection.AddUnique(s->GetName());
    return m_selection.GetCount();
}

bool C3DModelDoc::IsSelected(const std::string& name) const
{
    const CModelSubsystem* s = FindSubsystem(name);
    return s && m_selection.GetIndex(s->GetName()) >= 0;
}

CModelSubsystem* C3DModelDoc::FindSubsystem(const std::string& name) const
{
    return m_model ? m_model->GetSubsystem(name, 0, 0) : nullptr;
}

int C3DModelDoc::ColorSubsystem(const std::string& name, float r, float g, float b)
{
    CModelSubsystem* s = FindSubsystem(name);
    if (!s)
        return 0;
    s->SetColor(r, g, b);
    s->SetMark(true);
    return 1;
}

int C3DModelDoc::AddView(std::function<void()> redraw)
{
    const int id = m_nextView++;
    m_views.emplace(id, std::move(redraw));
    return id;
}

void C3DModelDoc::RemoveView(int id)
{
    m_views.erase(id);
}

void C3DModelDoc::UpdateAllViews()
{
    // A view may remove itself while it redraws.
    std::vector<std::function<void()>> views;
    for (const auto& [id, redraw] : m_views)
        if (redraw)
            views.push_back(redraw);
    for (const auto& redraw : views)
        redraw();
}
