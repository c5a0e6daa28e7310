/* The page bridge: defines window.app before any page script runs. Every function checks its arguments,
   then sends one message (a name and strings or 32-bit integers) to the program over the web channel.
   Calls made before the channel is open are queued and sent in call order once it is. */
(function () {
    'use strict';

    if (window.app && window.app.__elumira)
        return;

    var S = 'string';
    var I = 'int';

    // Script name, message name, parameter types, and the order in which parameters are sent.
    var table = [
        ['executeLogin', 'login', [S, S]],
        ['forgotPass', 'forgotPass', [], function () { return ['forgotPass']; }],
        ['forgotPassRequest', 'forgotPassRequest', [S]],
        ['detail', 'detail', [S]],
        ['loadMore', 'loadMore', []],
        ['homeDetail', 'homeDetail', [S, S]],
        ['back', 'back', []],
        ['loadKategori', 'loadKategori', []],
        ['changeDept', 'changeDept', [S, S]],
        ['kategoriKonten', 'kategoriKonten', [S, S, S, S], function (a) { return [a[2], a[0], a[1], a[3]]; }],
        ['backKategori', 'backKategori', []],
        ['backToSection', 'backToSection', []],
        ['backToCategory', 'backToCategory', []],
        ['backToChart', 'backToChart', []],
        ['backToSearch', 'backToSearch', []],
        ['subKategoriKonten', 'subKategoriKonten', [S, S, S, S], function (a) { return [a[2], a[0], a[1], a[3]]; }],
        ['detailFromSection', 'detailFromSection', [S]],
        ['detailFromCategory', 'detailFromCategory', [S]],
        ['detailFromChart', 'detailFromChart', [S]],
        ['detailFromSearch', 'detailFromSearch', [S]],
        ['topChart', 'topChart', []],
        ['loadMoreChart', 'loadMoreChart', [I]],
        ['lastRead', 'lastRead', []],
        ['loadMoreLastRead', 'loadMoreLastRead', [I]],
        ['lastView', 'lastView', []],
        ['loadMoreLastView', 'loadMoreLastView', [I]],
        ['searching', 'searching', [S, S], function (a) { return [a[0], a[1], 1]; }],
        ['searchResult', 'searching', [S, S, I]],
        ['openBanner', 'openBanner', [S]],
        ['registerPage', 'register', []],
        ['baca', 'baca', [S]],
        ['bacaSection', 'bacaSection', [S]],
        ['bacaKalimat', 'bacaKalimat', [S, S]],
        ['logout', 'logout', []],
        ['account', 'account', []]
    ];

    function accepts(type, value) {
        if (type === S)
            return typeof value === 'string';
        return typeof value === 'number' && Math.floor(value) === value && value >= -2147483648 && value <= 2147483647;
    }

    var receiver = null;
    var pending = [];

    function send(name, args) {
        // Integers travel as JSON numbers, strings as strings; the program tells them apart by type.
        if (receiver)
            receiver.post(name, args);
        else
            pending.push([name, args]);
    }

    function connect() {
        if (typeof QWebChannel === 'undefined' || typeof qt === 'undefined' || !qt.webChannelTransport) {
            setTimeout(connect, 5);
            return;
        }
        new QWebChannel(qt.webChannelTransport, function (channel) {
            receiver = channel.objects.elumiraBridge;
            var queued = pending;
            pending = [];
            for (var i = 0; i < queued.length; ++i)
                receiver.post(queued[i][0], queued[i][1]);
        });
    }

    var app = {};
    table.forEach(function (row) {
        var scriptName = row[0], messageName = row[1], types = row[2], order = row[3];
        app[scriptName] = function () {
            var args = Array.prototype.slice.call(arguments);
            if (args.length !== types.length)
                return;
            for (var i = 0; i < types.length; ++i) {
                if (!accepts(types[i], args[i]))
                    return;
            }
            send(messageName, order ? order(args) : args);
        };
    });
    Object.defineProperty(app, '__elumira', { value: true });
    Object.freeze(app);
    Object.defineProperty(window, 'app', { value: app, writable: false, enumerable: true, configurable: false });

    connect();
})();
