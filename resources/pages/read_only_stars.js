// Read-only rating stars, one step per star, drawn with text stars so no icon font is needed. Each input is set
// up once, and only when it comes near the view: a long page does not build the stars of tiles nobody has
// scrolled to.
window.readOnlyStars = window.readOnlyStars || (function () {
    var options = {
        containerClass: 'rating-fa',
        filledStar: '<i class="rating-star">&#9733;</i>',
        emptyStar: '<i class="rating-star">&#9734;</i>',
        size: 'xs',
        step: 1,
        showClear: false,
        showCaption: false,
        readonly: true
    };

    // Inputs whose stars a widget of the page draws itself, when it is built.
    var handedOver = window.WeakSet ? new WeakSet() : null;

    function inputsOf(scope) {
        return $(scope).find('.rating-detail').addBack('.rating-detail').filter(function () {
            return !$(this).data('rating');
        });
    }

    // Sets up the stars in scope at once, for example before a carousel copies its tiles. The plugin reads
    // computed styles while it builds a widget, and in a page whose styles are out of date after the widget
    // before, each read costs a style pass over the whole page. So each input's holder is taken out of the
    // page for the moment its widget is built (a placeholder keeps its place) and put back at once: the
    // widgets come out the same, and the page's styles are brought up to date once, when it is next drawn.
    function now(scope) {
        inputsOf(scope).each(function () {
            var holder = this.parentNode;
            var parent = holder && holder !== document.body && holder.parentNode;
            if (!parent) {
                $(this).rating(options);
                return;
            }
            var place = document.createComment('');
            parent.replaceChild(place, holder);
            try {
                $(this).rating(options);
            } finally {
                parent.replaceChild(holder, place);
            }
        });
    }

    var nearView = window.IntersectionObserver ? new IntersectionObserver(function (entries) {
        entries.forEach(function (entry) {
            if (entry.isIntersecting) {
                nearView.unobserve(entry.target);
                now(entry.target);
            }
        });
    }, { rootMargin: '600px 0px' }) : null;

    // Sets up the stars in scope as they come near the view, and those already in view at once, so that the
    // member never sees their inputs in place of the stars. All are measured before any is drawn: drawing
    // changes the page, and a measure after a change would lay the page out again.
    function watch(scope) {
        if (!nearView) {
            now(scope);
            return;
        }
        var inView = [];
        inputsOf(scope).each(function () {
            if (handedOver && handedOver.has(this))
                return;
            var box = this.getBoundingClientRect();
            if (box.top < window.innerHeight && box.bottom > 0)
                inView.push(this);
            else
                nearView.observe(this);
        });
        inView.forEach(now);
    }

    // Leaves the stars in scope to a widget that draws them when it is built (a carousel draws its tiles' stars
    // before it copies them): they are no longer watched one by one, which on a long page saves following
    // every tile's input as the page scrolls.
    function handOver(scope) {
        if (!nearView || !handedOver)
            return;
        inputsOf(scope).each(function () {
            handedOver.add(this);
            nearView.unobserve(this);
        });
    }

    return { options: options, now: now, watch: watch, handOver: handOver };
})();
