#pragma once
// Display options of the experiment views. The three settings start from the values the user last
// chose (kept in the application's options); the views and option pages change them while the
// experiment window is open.
#include "platform/archive/Object.h"

class CExpOptions : public CObject
{
public:
    CExpOptions(); // reads the settings; a value that cannot be read leaves 0

    int GetGraphBandType() const { return m_graphBandType; }
    void SetGraphBandType(int v) { m_graphBandType = v; }
    int GetGraphColor() const { return m_graphColor; }
    void SetGraphColor(int v) { m_graphColor = v; }
    int GetInputRange() const { return m_inputRange; }
    void SetInputRange(int v) { m_inputRange = v; }

    // The value ranges of the graphs' three axes (axis 1 to 3): mode 0 automatic, 1 manual with
    // the upper and lower values. They last as long as the window.
    int GetAxisMode(int axis) const;
    void SetAxisMode(int axis, int mode);
    double GetAxisUpper(int axis) const;
    double GetAxisLower(int axis) const;
    void SetAxisRange(int axis, double upper, double lower);

    // Keeps the graph band type and colour as the user's choice for the next experiment window
    // (the input range is not kept); 1 only when both were written.
    int Save() const;

private:
    int m_graphBandType = 0;
    int m_graphColor = 0;
    int m_inputRange = 0;
    int m_axisMode[3] = {0, 0, 0};
    double m_axisUpper[3] = {0.0, 0.0, 0.0};
    double m_axisLower[3] = {0.0, 0.0, 0.0};
};
