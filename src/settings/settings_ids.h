// The settings dialog's template and control ids, shared by its resource
// script, its procedure and the tests.
#pragma once

#define IDD_SETTINGS 200
#define IDC_EDIT_KEY_ID 201
#define IDC_EDIT_KEY_SECRET 202
#define IDC_EDIT_APPKEY 203
#define IDC_EDIT_REGION 204
#define IDC_EDIT_BUCKET 205
#define IDC_CMB_LANG 206
#define IDC_LBL_KEY_ID 301
#define IDC_LBL_KEY_SECRET 302
#define IDC_LBL_APPKEY 303
#define IDC_LBL_REGION 304
#define IDC_LBL_BUCKET 305
#define IDC_LBL_LANG 306
#define IDC_LBL_NOTE 307
