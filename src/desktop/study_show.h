#pragma once
// Study mode on the desktop: the show in a window with the panel and the
// timeline, the music through the sound device (or none when muted).

#include <span>
#include <string>

#include "anim/song_position.h"
#include "app/show_definition.h"
#include "platform/portable/picture_surface.h"

struct StudyOptions {
    Orientation orientation = Orientation::Landscape;
    bool fullscreen = false;
    int scale = 0;  // 0: to suit the desktop
    bool mute = false;
    SongPosition start;
    ShowDefinition show;
    std::string scriptPath;  // the file the show's script came from, watched for saves; empty for the show's own
};

// The exit status: 0 when the user ended it, 1 when there was no display or
// the show could not start.
int runStudyShow(const StudyOptions& options);
