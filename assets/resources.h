// Resource identifiers, shared by the resource script and the Windows layer.
#pragma once

#define IDI_TALLYFOX 1
#define IDR_INSTRUCTIONS_PICTURE 101
