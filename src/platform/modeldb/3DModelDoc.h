#pragma once
// The document behind a 3D model window: which vehicle model it shows, which subsystems are
// selected, and the colour and mark of each subsystem (kept on the model's subsystems). Views
// register to be told when to redraw; the document itself draws nothing, so it works headless.
#include "platform/elements/ZuSubsystemTable.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

class CModelData;
class CModelSubsystem;

class C3DModelDoc
{
public:
    explicit C3DModelDoc(CModelData* model = nullptr);
    virtual ~C3DModelDoc();
    C3DModelDoc(const C3DModelDoc&) = delete;
    C3DModelDoc& operator=(const C3DModelDoc&) = delete;

    // The model shown (not owned).
    CModelData* GetModelData() const { return m_model; }
    void SetModelData(CModelData* model);

    // Every subsystem back to its default colour, unmarked.
    void SetDefaultColors();
    // Empties the selection.
    void ClearSelection();
    // Replaces the selection by the subsystems of the table that the model knows (names compared
    // without case and wave-type mark), in table order; returns how many were selected.
    int SetSelection(const CZuSubsystemTable& names);
    const CZuSubsystemTable& GetSelection() const { return m_selection; }
    bool IsSelected(const std::string& name) const;

    // The model's subsystem of that name (wave-type mark and case ignored); null when absent.
    CModelSubsystem* FindSubsystem(const std::string& name) const;
    // Gives a subsystem a colour and marks it; 0 when the model has no such subsystem.
    int ColorSubsystem(const std::string& name, float r, float g, float b);

    // Views: a callback each, called by UpdateAllViews. Returns an id for RemoveView.
    int AddView(std::function<void()> redraw);
    void RemoveView(int id);
    void UpdateAllViews();

    // The model documents that exist now, in the order they were made: dialogs that pick
    // subsystems show the choice in every open model window.
    static std::vector<C3DModelDoc*> GetOpenDocuments();
    // Clears the selection of every open model document, selects the names and redraws.
    static void SelectInOpenDocuments(const CZuSubsystemTable& names);

private:
    CModelData* m_model = nullptr;
    CZuSubsystemTable m_selection;
    std::map<int, std::function<void()>> m_views;
    int m_nextView = 1;
};

// The document of a model of the second kind; the same hooks.
class C3DModelDoc2 : public C3DModelDoc
{
public:
    using C3DModelDoc::C3DModelDoc;
};
