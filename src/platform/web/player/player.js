// The game player: one emulator element at a time on a black page, driven by the program
// through window.velmora. Reports go to the program as console messages with a fixed prefix.
"use strict";

(() => {
    const options = {
        autoplay: "on",
        unmuteOverlay: "hidden",
        splashScreen: false,
        contextMenu: "on",
        menu: true,
        allowFullscreen: false,
        quality: "high",
        scale: "showAll",
        allowNetworking: "all",
        openUrlMode: "allow",
        // Lets games open pages in their own window too ("_self", "_top"); the program hands
        // those to the web browser. The page's script policy keeps games from running script.
        allowScriptAccess: true,
        showSwfDownload: false,
        warnOnUnsupportedContent: false,
        upgradeToHttps: false,
        polyfills: false,
        logLevel: "error",
    };
    // Also read by the emulator itself: no scanning of the page for Flash objects.
    window.RufflePlayer = window.RufflePlayer || {};
    window.RufflePlayer.config = options;

    let current = null;

    function drop() {
        if (current) {
            current.remove();
            current = null;
        }
    }

    function report(kind, details) {
        console.info("velmora:" + kind + " " + JSON.stringify(details));
    }

    window.velmora = {
        // Replaces whatever plays by the movie at url; serial tags the reports of this movie.
        play(url, serial) {
            drop();
            const player = window.RufflePlayer.newest().createPlayer();
            // Focusable, so that the program can hand it the keyboard.
            player.tabIndex = 0;
            player.addEventListener("loadedmetadata", () => {
                const api = player.ruffle();
                if (api.readyState === 2) {
                    const m = api.metadata;
                    report("loaded", { serial, width: m.width, height: m.height, frameRate: m.frameRate });
                }
            });
            document.body.appendChild(player);
            current = player;
            player.ruffle().load({ ...options, url }).catch(() => {});
        },
        stop: drop,
        focus() {
            if (current) {
                current.focus();
            }
        },
    };
})();
