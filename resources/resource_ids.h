// Ids of the program's resources, shared by the resource script and the code.
#pragma once

#define IDI_QUILLBEE 130
#define IDC_HAND_POINTER 150
#define IDM_MAIN_MENU 110
