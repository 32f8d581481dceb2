// Resource identifiers of ZORNAVEX.
#pragma once

#define IDI_ZORNAVEX 1
#define IDI_ZORNAVEX_SHORTCUT 2
#define IDI_CERTIFICATO 3
