#pragma once
// zemra --check-flashes: the show as the viewer sees it, made in memory at
// 60 frames a second (nothing written), or a folder of PNG frames, checked
// by the three-flashes rule. The report names each second's scene and music
// position; the status is 0 when it passes, 1 when it fails or could not be
// made, 2 when the folder is no clip.

#include <ostream>
#include <string>

#include "app/offline_show.h"
#include "safety/flash_report.h"

// Makes the show of `settings` (at its own fps) and checks every frame.
// False when it could not start or failed part-way (said on err).
bool checkShowFlashes(const OfflineSettings& settings, SongTimeline& timeline, FlashReport& report,
                      std::vector<std::string>& labels, std::ostream& err);

int runShowFlashCheck(const OfflineSettings& settings, SongTimeline& timeline, std::ostream& out, std::ostream& err);
int runFolderFlashCheck(const std::string& folder, int fps, std::ostream& out, std::ostream& err);
