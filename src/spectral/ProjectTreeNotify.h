#pragma once
// What a project offers to the data below it: telling the project tree that a child element was
// added or removed, so that the tree never shows an element that is gone. The project base
// implements it (sending its tree messages); code that replaces elements finds the owning project
// by walking up the parents.
class CMElement;

class IProjectTreeNotify
{
public:
    virtual ~IProjectTreeNotify() = default;
    virtual void NotifyChildAdded(CMElement* element) = 0;
    // Called while the element still exists; the receiver must only identify it.
    virtual void NotifyChildRemoved(CMElement* element) = 0;

    // The first of element and its ancestors that implements the interface; null when none does.
    static IProjectTreeNotify* FindOwner(CMElement* element);
};
