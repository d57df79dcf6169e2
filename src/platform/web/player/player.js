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
        // Lets games open pages in their own window too ("_self", "_top"), which become
        // new-window requests below. The page's script policy keeps games from running script.
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

    // What a game may do beyond drawing and sound. The program enforces the rules; this part
    // only tells it what it needs to know.

    // Relative addresses of a game lead into the folder of its movie, where its other files are.
    function movieOptions(url) {
        return { ...options, url, base: new URL(".", url).href };
    }

    // A game that sends the player's own window to a page ("_self", "_top", a form) asks for a
    // web page. That navigation becomes a new-window request, for which the engine tells the
    // program whether the user asked for it by a click or a key; the player page stays.
    function openNavigationsOutside() {
        if (!window.navigation) {
            return; // the program refuses the navigation all the same
        }
        window.navigation.addEventListener("navigate", (event) => {
            if (event.destination.sameDocument || !event.cancelable) {
                return;
            }
            event.preventDefault();
            window.open(event.destination.url, "_blank");
        });
    }

    // After a panic the emulator may fail every later movie on this page; the program loads
    // the page afresh before the next one. The emulator shows its error screen on a panic.
    function reportPanic(player) {
        const observer = new MutationObserver(() => {
            if (player.shadowRoot.getElementById("panic")) {
                observer.disconnect();
                report("panic", {});
            }
        });
        observer.observe(player.shadowRoot, { childList: true, subtree: true });
    }

    // The emulator takes keys only after it has seen its element gain the focus, and it
    // listens for that only once its instance is built, a while after play(). Focus given
    // before went unseen, and focusing the element again raises nothing while it has the focus:
    // so it is handed over once more when the instance is ready.
    function focusAgainWhenReady(player) {
        if (player === current && document.activeElement === player) {
            player.blur();
            player.focus();
        }
    }

    // The emulator's code is fetched and compiled once per page, on its first movie. A small
    // empty movie at page load does that before the user chooses a game, so that the first
    // game starts as quickly as the later ones.
    function warmUp() {
        // Version 10, 17 bytes: an empty stage, one frame, then the end tag.
        const emptyMovie = new Uint8Array([
            0x46, 0x57, 0x53, 0x0a, 0x11, 0x00, 0x00, 0x00, 0x00,
            0x00, 0x0c, 0x01, 0x00, 0x40, 0x00, 0x00, 0x00,
        ]);
        const player = window.RufflePlayer.newest().createPlayer();
        player.style.display = "none";
        document.body.appendChild(player);
        const done = () => player.remove();
        player.ruffle().load({ ...options, data: emptyMovie }).then(done, done);
    }

    openNavigationsOutside();

    window.velmora = {
        // Replaces whatever plays by the movie at url; serial tags the reports of this movie.
        play(url, serial) {
            drop();
            const player = window.RufflePlayer.newest().createPlayer();
            player.className = "game";
            // Focusable, so that the program can hand it the keyboard.
            player.tabIndex = 0;
            player.addEventListener("loadedmetadata", () => {
                const api = player.ruffle();
                if (api.readyState === 2) {
                    const m = api.metadata;
                    report("loaded", { serial, width: m.width, height: m.height, frameRate: m.frameRate });
                }
            });
            reportPanic(player);
            document.body.appendChild(player);
            current = player;
            player.ruffle().load(movieOptions(url)).then(() => focusAgainWhenReady(player), () => {});
        },
        stop: drop,
        focus() {
            if (current) {
                current.focus();
            }
        },
    };

    // This script runs in the page's head, before the body exists.
    document.addEventListener("DOMContentLoaded", warmUp);
})();
