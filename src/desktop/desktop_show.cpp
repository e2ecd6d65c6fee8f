#include "desktop/desktop_show.h"

#include <SDL.h>

#include <iostream>
#include <memory>
#include <string>

#include "app/demo_app.h"
#include "app/user_messages.h"
#include "app/window_icon_picture.h"
#include "platform/sdl/sdl_message_box.h"
#include "platform/sdl/sdl_audio_output.h"
#include "platform/sdl/sdl_clock.h"
#include "platform/sdl/sdl_screen.h"
#include "platform/music/streaming_music_player.h"
#include "platform/portable/virtual_clock.h"
#include "desktop/signal_ending_box.h"
#include "desktop/stop_signal_screen.h"
#include "platform/interrupt_watch.h"

int runDesktopShow(const ShowOptions& options, const StartPoint& start, const ShowDefinition& show) {
    int status = 1;
    {
        // Before the window library starts, which then leaves the signals alone.
        const InterruptWatch stop;
        SdlClock systemClock;
        ShiftedClock clock(systemClock);  // reads the music's time once started part-way in
        ScreenOptions screenOptions;
        screenOptions.orientation = options.portrait ? Orientation::Portrait : Orientation::Landscape;
        screenOptions.fullscreen = options.fullscreen;
        screenOptions.scale = options.scale;
        screenOptions.icon = showWindowIcon();
        std::string error;
        std::unique_ptr<SdlScreen> sdlScreen = SdlScreen::open(screenOptions, error);
        if (!sdlScreen) {
            std::cerr << "zemra: cannot open a window (is there a display?): " << error << '\n';
            SDL_Quit();
            return 1;
        }

        std::unique_ptr<AudioOutput> output = desktopAudioOutput(options.mute);
        StreamingMusicPlayer music(*output);
        music.setStartPosition(start.position);
        StopSignalScreen screen(*sdlScreen, stop);
        SdlMessageBox sdlBox(sdlScreen.get());
        SignalEndingBox box(sdlBox, stop);
        UserMessages messages(&box, std::cerr);

        status = appStartingAt(screen, clock, music, messages, start, show)->run();
    }
    SDL_Quit();
    return status;
}
