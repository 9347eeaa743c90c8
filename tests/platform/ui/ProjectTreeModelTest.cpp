// The one item model of the element tree views: rows in the order the elements hold them.
#include "platform/elements/MElement.h"
#include "platform/ui/ProjectTreeModel.h"

#include <gtest/gtest.h>

#include <memory>

TEST(ProjectTreeModel, RowsFollowTheElementsAddedAndRemoved)
{
    CMElement project("P", nullptr, 1);
    CMElement* a = project.AddChild(std::make_unique<CMElement>("A", &project, 2));
    CMElement* c = project.AddChild(std::make_unique<CMElement>("C", &project, 2));
    CProjectTreeModel model;
    EXPECT_EQ(model.AddRootElement(&project), 0);
    EXPECT_EQ(model.AddRootElement(&project), 0); // shown once
    const QModelIndex root = model.index(0, 0);
    ASSERT_EQ(model.rowCount(root), 2);

    // An element inserted between two shown siblings lands between their rows.
    CMElement* b = project.AddChild(std::make_unique<CMElement>("B", &project, 2));
    project.MoveChild(2, 1);
    ASSERT_TRUE(model.AddElement(b));
    EXPECT_FALSE(model.AddElement(b));
    EXPECT_EQ(model.data(model.index(0, 0, root)).toString(), QStringLiteral("A"));
    EXPECT_EQ(model.data(model.index(1, 0, root)).toString(), QStringLiteral("B"));
    EXPECT_EQ(model.data(model.index(2, 0, root)).toString(), QStringLiteral("C"));
    EXPECT_EQ(model.parent(model.IndexOf(c)), root);
    EXPECT_EQ(model.IndexOf(c).row(), 2);

    EXPECT_TRUE(model.RemoveElement(a));
    EXPECT_FALSE(model.RemoveElement(a));
    EXPECT_EQ(model.IndexOf(b).row(), 0);
    EXPECT_EQ(model.IndexOf(c).row(), 1);
    model.Refresh();
    EXPECT_EQ(model.rowCount(model.index(0, 0)), 3); // the elements as they are
    model.Clear();
    EXPECT_EQ(model.rowCount(), 0);
}
