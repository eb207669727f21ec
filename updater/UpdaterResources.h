#pragma once

// Registers what the updater links into its executable: the skin archive (resource
// "ZIPRES" 103, read by CMorvane) and the tray icon (102).
void RegisterUpdaterResources();
