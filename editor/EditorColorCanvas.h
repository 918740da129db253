#pragma once
// The canvas as the colour tool sees it: the editor's own show, selection and
// redraw routines in place of the player's.

#include "FrmColor.h"

class frmPic;

class EditorColorCanvas : public ColorToolCanvas
{
public:
    explicit EditorColorCanvas(frmPic &canvas);

    void ShowObj(bool Show) override;
    void ButtonAdj(bool Show) override;
    // Names the cache from "-00" again before the rebuild, so that the next
    // opening of the panel reads the faces built now and not older ones.
    void DeskUpdate(bool Rebuild) override;
    void DeskTopRef() override {}

private:
    frmPic &m_canvas;
};
