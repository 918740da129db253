#include "EditorColorCanvas.h"

#include "frmPic.h"

EditorColorCanvas::EditorColorCanvas(frmPic &canvas) : ColorToolCanvas(canvas.panel()), m_canvas(canvas)
{
}

void EditorColorCanvas::ShowObj(bool Show)
{
    m_canvas.ShowObj(Show);
}

void EditorColorCanvas::ButtonAdj(bool Show)
{
    m_canvas.ButtonAdj(Show);
}

void EditorColorCanvas::DeskUpdate(bool Rebuild)
{
    m_canvas.ChkDeskName();
    m_canvas.DeskUpdate(Rebuild);
}
