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
        document.getElementById("notice").hidden = true;
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

    // The emulator's right-click menu holds, after the game's own entries and the volume, an
    // entry that copies debug information for the emulator's makers and one that opens their
    // web site (every text of which names the emulator). Both go before the menu is drawn, with
    // the separators they leave; a menu opened above the pointer keeps its lower edge there.
    const idleEntries = [/^复制调试信息$/, /^copy debug info$/i, /ruffle/i];
    let pointerY = 0;
    document.addEventListener("contextmenu", (event) => { pointerY = event.clientY; }, true);

    function isSeparator(item) {
        return item.classList.contains("menu-separator");
    }

    function keepWorkingMenuEntries(player) {
        const menu = player.shadowRoot.getElementById("context-menu");
        if (!menu) {
            return;
        }
        new MutationObserver(() => {
            const before = menu.getBoundingClientRect();
            for (const item of [...menu.children]) {
                if (!isSeparator(item) && idleEntries.some((e) => e.test(item.dataset.text ?? ""))) {
                    item.remove();
                }
            }
            let previous = null;
            for (const item of [...menu.children]) {
                if (isSeparator(item) && (previous === null || isSeparator(previous))) {
                    item.remove();
                } else {
                    previous = item;
                }
            }
            if (previous !== null && isSeparator(previous)) {
                previous.remove();
            }
            const shrunk = before.height - menu.getBoundingClientRect().height;
            if (shrunk > 0 && before.bottom <= pointerY + 1) {
                menu.style.top = `${parseFloat(menu.style.top || "0") + shrunk}px`;
            }
        }).observe(menu, { childList: true });
    }

    // The emulator answers a movie it cannot play (an empty or damaged file) with a panic and an
    // error screen of its own, which names it and offers a stack trace with local paths. The
    // player is taken away before that screen is ever drawn (observers run before the next
    // paint), and a short notice takes its place. After a panic the emulator may fail every
    // later movie on this page; the program loads the page afresh before the next one.
    function replacePanic(player) {
        const observer = new MutationObserver(() => {
            if (player.shadowRoot.getElementById("panic")) {
                observer.disconnect();
                if (current === player) {
                    drop();
                    document.getElementById("notice").hidden = false;
                }
                report("panic", {});
            }
        });
        observer.observe(player.shadowRoot, { childList: true, subtree: true });
    }

    openNavigationsOutside();

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
            replacePanic(player);
            keepWorkingMenuEntries(player);
            document.body.appendChild(player);
            current = player;
            player.ruffle().load(movieOptions(url)).catch(() => {});
        },
        stop: drop,
        focus() {
            if (current) {
                current.focus();
            }
        },
    };
})();
