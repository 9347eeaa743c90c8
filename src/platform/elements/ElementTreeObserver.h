#pragma once
// What the root of an element tree tells about its tree's changes: an element (with its subtree)
// was added somewhere below the root, is about to leave it, or was renamed. Whoever shows the tree follows it
// from these alone, so nothing adding or removing an element has to tell anyone by hand.
class CMElement;

class IElementTreeObserver
{
public:
    virtual ~IElementTreeObserver() = default;
    // The element has just been added; its parent holds it.
    virtual void OnElementAdded(CMElement* element) = 0;
    // The element is still whole and still in the tree; the receiver must only identify it.
    virtual void OnElementRemoving(CMElement* element) = 0;
    // The element, held below the root, took a new name.
    virtual void OnElementRenamed(CMElement* /*element*/) {}
};
