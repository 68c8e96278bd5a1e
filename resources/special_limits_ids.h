// Control ids of the special limits dialog's template "EditSpecialLimits".
#pragma once

#define IDC_LIMITS_BEFORE 1630  // days before the event the warning starts
#define IDC_LIMITS_AFTER 1620   // days after the event it stays
