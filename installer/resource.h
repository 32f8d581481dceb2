// Resource identifiers of Velisca.
#pragma once

#define IDI_VELISCA 1
#define IDI_INSTALLA 2
