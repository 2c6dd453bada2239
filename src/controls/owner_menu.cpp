#include "controls/owner_menu.h"

COwnerMenu::COwnerMenu() = default;
COwnerMenu::~COwnerMenu() { DestroyMenu(); }
void COwnerMenu::MeasureItem(MEASUREITEMSTRUCT*) {}
void COwnerMenu::DrawItem(DRAWITEMSTRUCT*) {}
LRESULT COwnerMenu::HandleMenuChar(UINT, UINT, COwnerMenu*) { return 0; }
bool COwnerMenu::IsOwnedMenu(HMENU) { return false; }
COwnerMenu* COwnerMenu::FromHandle(HMENU) { return nullptr; }
void COwnerMenu::DestroyMenu() {}
